#include "quorvin/knowledge_base.h"

#include <filesystem>

#include "api/knowledge_base_data.h"
#include "api/text_source.h"
#include "consult/text_consultation.h"
#include "language/source_file.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "net/params.h"

namespace quorvin {

namespace {

// The names the built knowledge base offers, in declaration order.
void CollectNames(const CTextConsultation &built, const CParameters &parameters, KnowledgeBase::Data &data) {
    const CInfTaxNet &net = built.Net();
    for (int32_t i = 0; i < net.nodes.Count(); ++i) {
        data.nodes.emplace_back(net.nodes.At(i)->name.Text());
        if (net.nodes.At(i)->goal) data.goals.emplace_back(net.nodes.At(i)->name.Text());
    }
    for (int32_t i = 0; i < parameters.Asks().Count(); ++i) data.parameters.emplace_back(parameters.Asks().At(i)->name.Text());
    for (int32_t i = 0; i < net.roots.Count(); ++i) data.taxonomies.emplace_back(net.roots.At(i)->name.Text());
}

// Builds the text once, for its lines, its diagnostic and its names.
std::shared_ptr<const KnowledgeBase::Data> Build(KnowledgeBase::Data data, const LoadOptions &options) {
    CWrittenFiles files{options.writeHelpPages, false, false};
    const std::unique_ptr<IOptionStore> aliases = OwnedTextSource::UserAliases();
    OwnedTextSource source(data, files, *aliases);
    CTextConsultation consultation(source.Source());
    data.built = consultation.Built();
    data.buildLines = consultation.BuildLines();
    if (const auto &diagnostic = consultation.Diagnostic())
        data.error = Diagnostic{diagnostic->place.line, diagnostic->place.column, diagnostic->place.endColumn,
                                diagnostic->message, diagnostic->detail};
    if (data.built) {
        CollectNames(consultation, *consultation.Parameters(), data);
    } else if (data.errorText.empty()) {
        for (const std::string &line : data.buildLines)
            if (line.rfind("[Error", 0) == 0) data.errorText = line;
    }
    return std::make_shared<const KnowledgeBase::Data>(std::move(data));
}

}  // namespace

KnowledgeBase KnowledgeBase::FromFile(const std::string &path, const LoadOptions &options) {
    Data data;
    data.name = path;
    const std::filesystem::path file(path);
    data.directory = file.parent_path().string();
    data.fileName = file.filename().string();
    std::string reason;
    data.text = ReadSourceText(path, reason);
    if (!data.text) data.errorText = path + ": " + reason;
    return KnowledgeBase(Build(std::move(data), options));
}

KnowledgeBase KnowledgeBase::FromText(const std::string &text, const std::string &directory, const std::string &name,
                                      const LoadOptions &options) {
    Data data;
    data.name = name;
    data.directory = directory;
    data.fileName = name;
    data.text = text;
    return KnowledgeBase(Build(std::move(data), options));
}

KnowledgeBase::KnowledgeBase(std::shared_ptr<const Data> data) : data(std::move(data)) {}

bool KnowledgeBase::Built() const { return data->built; }
const std::vector<std::string> &KnowledgeBase::BuildLines() const { return data->buildLines; }
const std::optional<Diagnostic> &KnowledgeBase::Error() const { return data->error; }
const std::string &KnowledgeBase::ErrorText() const { return data->errorText; }
const std::vector<std::string> &KnowledgeBase::Nodes() const { return data->nodes; }
const std::vector<std::string> &KnowledgeBase::Goals() const { return data->goals; }
const std::vector<std::string> &KnowledgeBase::Parameters() const { return data->parameters; }
const std::vector<std::string> &KnowledgeBase::Taxonomies() const { return data->taxonomies; }
const std::string &KnowledgeBase::Name() const { return data->name; }

}  // namespace quorvin
