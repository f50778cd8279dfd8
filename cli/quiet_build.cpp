#include "quiet_build.h"

#include <cstdio>
#include <filesystem>

#include "language/source_file.h"

QuietBuild::QuietBuild(const std::string &path) : aliases(CIniOptionStore::UserOptionFile()) {
    const std::filesystem::path file(path);
    directory = file.parent_path().string();
    std::string reason;
    text = ReadSourceFile(path, reason);
    consultation = std::make_unique<CTextConsultation>(
        CTextSource{text.get(), directory, file.filename().string(), {false, false, false}, &aliases});
    for (const std::string &line : consultation->BuildLines()) std::fprintf(stderr, "%s\n", line.c_str());
    if (text && !text->ReadProblem().empty()) reason = text->ReadProblem();
    if (!text || !text->ReadProblem().empty())
        std::fprintf(stderr, "quorvin-cli: %s: %s\n", path.c_str(), reason.c_str());
}
