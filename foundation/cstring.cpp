#include "foundation/cstring.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "foundation/fatal_assert.h"
#include "foundation/number_text.h"

namespace {

// The body every empty string shares. It is constant-initialised, so strings
// constructed during the static initialisation of other units find it ready,
// and never destroyed, so strings destroyed at program end still find it. Its
// count is never changed: empty strings on different threads share it
// without writing to it.
ICString emptyBody{0, 1};

// Every number is formatted here first, so a formatted number has at most
// kScratchSize - 1 characters. One buffer per thread.
constexpr int kScratchSize = 24;
thread_local char scratch[kScratchSize];

const char *FormatInScratch(const char *format, double value) {
    int needed = std::snprintf(scratch, kScratchSize, format, value);
    // "%f" of a magnitude around 1e16 and above would not fit: such a value is
    // written in exponent form instead of being cut off to a wrong number.
    if (needed < 0 || needed >= kScratchSize) std::snprintf(scratch, kScratchSize, "%e", value);
    return scratch;
}

const char *FormatInScratch(int32_t value) {
    std::snprintf(scratch, kScratchSize, "%i", static_cast<int>(value));
    return scratch;
}

// A body of `length` characters, counted once, whose characters the caller
// fills in; the terminator is set.
ICString *NewBody(int32_t length) {
    void *block = ::operator new(sizeof(ICString) + static_cast<size_t>(length) + 1);
    auto *body = new (block) ICString{length, 1};
    body->Chars()[length] = 0;
    return body;
}

ICString *NewBody(const char *text, int32_t length) {
    ICString *body = NewBody(length);
    if (length > 0) std::memcpy(body->Chars(), text, static_cast<size_t>(length));
    return body;
}

void DeleteBody(ICString *body) {
    body->~ICString();
    ::operator delete(body);
}

}  // namespace

CString::CString() : ICS(&emptyBody) {}

CString::CString(const char *text) : ICS(&emptyBody) { SetText(text); }

CString::CString(const CString &other) : ICS(other.ICS) { Hold(ICS); }

CString::CString(CString &&other) noexcept : ICS(other.ICS) { other.Share(&emptyBody); }

CString::CString(float value) : ICS(&emptyBody) {
    SetText(FormatInScratch("%f", value));
}

CString::CString(int32_t value) : ICS(&emptyBody) {
    SetText(FormatInScratch(value));
}

CString::~CString() { Release(); }

CString &CString::operator=(const char *text) {
    SetText(text);
    return *this;
}

CString &CString::operator=(const CString &other) {
    if (ICS != other.ICS) {
        ICString *body = other.ICS;
        Hold(body);  // before releasing: the two may be the only holders
        Release();
        ICS = body;
    }
    return *this;
}

CString &CString::operator=(CString &&other) noexcept {
    if (this != &other) {
        Release();
        ICS = other.ICS;
        other.Share(&emptyBody);
    }
    return *this;
}

ICString *CString::Clear() {
    if (ICS != &emptyBody) {
        Release();
        Share(&emptyBody);
    }
    return ICS;
}

const char *CString::Text() const { return ICS->len > 0 ? ICS->Chars() : ""; }

int32_t CString::ToInt() const { return LeadingInteger(Text(), CNumberBlanks::Any).value_or(0); }

double CString::ToReal() const { return ReadReal(Text(), kCLibraryNumber).value_or(0.0); }

bool CString::Equals(const CString &other) const {
    if (ICS->len == 0 || other.ICS->len == 0) return false;
    if (ICS == other.ICS) return true;
    return ICS->len == other.ICS->len &&
           std::memcmp(ICS->Chars(), other.ICS->Chars(), static_cast<size_t>(ICS->len)) == 0;
}

bool CString::Equals(const char *text) const {
    if (ICS->len == 0 || text == nullptr) return false;
    return std::strcmp(ICS->Chars(), text) == 0;
}

uint32_t CString::HashWord() const {
    const uint64_t known = ICS->hash.load(std::memory_order_relaxed);
    if (known != 0) return static_cast<uint32_t>(known);
    uint32_t word = 2166136261u;
    for (char c : *this) {
        word ^= static_cast<unsigned char>(c);
        word *= 16777619u;
    }
    // The shared empty body is never written.
    if (ICS->len > 0) ICS->hash.store(word | (uint64_t{1} << 32), std::memory_order_relaxed);
    return word;
}

void CString::ToUpper() {
    for (int32_t i = 0; i < ICS->len; ++i) {
        if (ICS->Chars()[i] >= 'a' && ICS->Chars()[i] <= 'z') {
            MakePrivate();
            ICS->hash.store(0, std::memory_order_relaxed);
            ICS->Chars()[i] = static_cast<char>(ICS->Chars()[i] - 32);
        }
    }
}

void CString::ToLower() {
    for (int32_t i = 0; i < ICS->len; ++i) {
        if (ICS->Chars()[i] >= 'A' && ICS->Chars()[i] <= 'Z') {
            MakePrivate();
            ICS->hash.store(0, std::memory_order_relaxed);
            ICS->Chars()[i] = static_cast<char>(ICS->Chars()[i] + 32);
        }
    }
}

void CString::Append(const char *text) {
    if (text == nullptr) return;
    AppendBytes(text, static_cast<int32_t>(std::strlen(text)));
}

void CString::Append(const CString &other) {
    // Copy the handle first: appending a string to itself must read the old body.
    CString keep(other);
    AppendBytes(keep.Text(), keep.ICS->len);
}

void CString::Append(int32_t value) {
    std::snprintf(scratch, kScratchSize, "%d", static_cast<int>(value));
    Append(scratch);
}

void CString::Append(float value) { Append(FormatInScratch("%f", value)); }

void CString::Erase(int32_t pos, int32_t count) {
    if (ICS->len == 0 || count == 0) return;
    if (pos + count > ICS->len) count = ICS->len - pos;
    if (count >= ICS->len) {
        Clear();
        return;
    }
    ICString *body = NewBody(ICS->len - count);
    std::memcpy(body->Chars(), ICS->Chars(), static_cast<size_t>(pos));
    std::memcpy(body->Chars() + pos, ICS->Chars() + pos + count, static_cast<size_t>(ICS->len - pos - count));
    Release();
    ICS = body;
}

char &CString::CharAt(int32_t i) {
    QV_ASSERT((ICS->len)&&(i>=0)&&(i<=ICS->len), "cstring");
    MakePrivate();
    // The caller may change the character through the reference.
    ICS->hash.store(0, std::memory_order_relaxed);
    return ICS->Chars()[i];
}

char CString::CharAt(int32_t i) const {
    QV_ASSERT((ICS->len)&&(i>=0)&&(i<=ICS->len), "cstring");
    return ICS->Chars()[i];
}

bool CString::SharesEmptyBody() const { return ICS == &emptyBody; }

void CString::Hold(ICString *body) {
    if (body != &emptyBody) ++body->refCount;
}

void CString::Share(ICString *body) {
    ICS = body;
    Hold(body);
}

void CString::Release() {
    if (ICS == &emptyBody) return;
    if (--ICS->refCount == 0) DeleteBody(ICS);
}

void CString::MakePrivate() {
    if (ICS->refCount == 1) return;
    ICString *copy = NewBody(ICS->Chars(), ICS->len);
    Release();
    ICS = copy;
}

void CString::SetText(const char *text) {
    // The new body is made before the old one is released: the text may lie in it.
    ICString *body = &emptyBody;
    if (text != nullptr && text[0] != 0) body = NewBody(text, static_cast<int32_t>(std::strlen(text)));
    Release();
    ICS = body;
}

void CString::AppendBytes(const char *text, int32_t length) {
    ICString *body = NewBody(ICS->len + length);
    if (ICS->len > 0) std::memcpy(body->Chars(), ICS->Chars(), static_cast<size_t>(ICS->len));
    if (length > 0) std::memcpy(body->Chars() + ICS->len, text, static_cast<size_t>(length));
    Release();
    ICS = body;
}
