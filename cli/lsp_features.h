// What the language server says about a document: its diagnostics, hover,
// definition, document symbols and completion, as the protocol's JSON.
//
// All but the diagnostics come from the document's symbol index, so they
// work while the text does not compile. The diagnostics come from a check
// of the text (consult/text_check.h); a consistency problem, which has no
// place of its own, is shown at the first node its message names, or at
// the start of the text.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "consult/text_check.h"
#include "lsp_document.h"

// A retriever of the registry and the translator it uses.
struct LspRetrieverName {
    std::string name;
    std::string translator;
};

nlohmann::json DiagnosticsOf(LspDocument &document, const CTextCheck &check, LspEncoding encoding);
// Hover and definition: null where there is nothing to say.
nlohmann::json HoverAt(LspDocument &document, const LspPosition &position, LspEncoding encoding,
                       const std::vector<LspRetrieverName> &registry);
nlohmann::json DefinitionAt(LspDocument &document, const std::string &uri, const LspPosition &position,
                            LspEncoding encoding);
nlohmann::json DocumentSymbols(LspDocument &document, LspEncoding encoding);
// Every node, retriever (the registry's and the text's synonyms) and keyword;
// the client narrows them down to what is being typed.
nlohmann::json CompletionItems(LspDocument &document, const std::vector<LspRetrieverName> &registry);
