// The source a knowledge base's text builds from, with the character
// source over a copy of the text (null when the file could not be read)
// kept alive beside it for the build. The alias store is the caller's and
// must outlive the consultation built from the source.
#pragma once

#include <memory>

#include "api/knowledge_base_data.h"
#include "consult/text_consultation.h"
#include "foundation/ini_option_store.h"
#include "language/input_char.h"

namespace quorvin {

class OwnedTextSource {
public:
    OwnedTextSource(const KnowledgeBase::Data &data, const CWrittenFiles &files, IOptionStore &aliases)
        : text(data.text ? std::make_unique<CPInputChar>(data.text->data(), static_cast<int32_t>(data.text->size()))
                         : nullptr),
          source{text.get(), data.directory, data.fileName, files, &aliases} {}

    const CTextSource &Source() const { return source; }

    // The user's database aliases, which the console reads too.
    static std::unique_ptr<IOptionStore> UserAliases() {
        return std::make_unique<CIniOptionStore>(CIniOptionStore::UserOptionFile());
    }

private:
    std::unique_ptr<CPInputChar> text;
    CTextSource source;
};

}  // namespace quorvin
