// CString: the system's own reference-counted, copy-on-write string.
//
// A CString is a handle to a shared body (ICString). Copying a handle shares
// the body; only the operations that change characters in place (ToUpper,
// ToLower, CharAt) take a private copy first. All text is single bytes; no
// code page conversion is done. Every empty string shares one static empty
// body, which is never counted or written. A non-empty body is counted
// without atomics: a string and its copies belong to one thread (a
// consultation's strings stay on the thread that runs it), while empty
// strings may be made anywhere. An empty string equals nothing - not even another empty string -
// so a lookup by an empty name always fails. A moved-from string is empty.
#pragma once

#include <atomic>
#include <cstdint>

// The shared body of one or more CString handles. Its characters follow it
// in the same allocation, zero-terminated, so that a string costs one
// allocation and a comparison reads one place; the empty body has none.
struct ICString {
    char *Chars() { return reinterpret_cast<char *>(this + 1); }
    const char *Chars() const { return reinterpret_cast<const char *>(this + 1); }

    int32_t len;       // characters, not counting the terminator
    int32_t refCount;  // handles sharing this body
    // The characters' hash word with bit 32 set once it is known; 0 until
    // then. A name is looked up far more often than it is made, so the word
    // is computed once per body. Atomic (and relaxed) only so that threads
    // reading one built net may both fill it in: they write the same value.
    std::atomic<uint64_t> hash{0};
};

class CString {
public:
    // Construction, assignment and destruction
    CString();
    CString(const char *text);
    CString(const CString &other);
    CString(CString &&other) noexcept;
    explicit CString(float value);    // "%f"
    explicit CString(int32_t value);  // "%i"
    ~CString();

    CString &operator=(const char *text);
    CString &operator=(const CString &other);
    CString &operator=(CString &&other) noexcept;

    // Releases the body and takes the shared empty one; returns that body.
    ICString *Clear();

    // Queries
    int32_t Length() const { return ICS->len; }
    bool IsEmpty() const { return ICS->len == 0; }
    const char *Text() const;
    int32_t ToInt() const;   // leading integer part, clamped to 32 bits; 0 if none
    double ToReal() const;   // leading real part; 0.0 if none
    bool Equals(const CString &other) const;
    bool Equals(const char *text) const;
    char CharAt(int32_t i) const;  // i may be Length(): the terminator
    // Every byte folded into one word (FNV-1a), computed once per body.
    uint32_t HashWord() const;

    // The characters, for range-for and the standard algorithms.
    const char *begin() const { return Text(); }
    const char *end() const { return Text() + Length(); }

    // Changes
    void ToUpper();
    void ToLower();
    void Append(const char *text);
    void Append(const CString &other);
    void Append(int32_t value);  // "%d"
    void Append(float value);    // "%f"
    void Erase(int32_t pos, int32_t count);
    char &CharAt(int32_t i);

    // Number of handles sharing this string's body (for tests and
    // diagnostics); the shared empty body always counts 1.
    int32_t RefCount() const { return ICS->refCount; }
    // True when this string uses the shared empty body.
    bool SharesEmptyBody() const;

private:
    ICString *ICS;  // never null

    void Hold(ICString *body);  // counts one more handle, except on the empty body
    void Share(ICString *body);
    void Release();
    void MakePrivate();
    void SetText(const char *text);
    void AppendBytes(const char *text, int32_t length);
};
