// A built knowledge base in a directory of its own, consulted as the
// program consults one but without any window or console: the view keeps
// no rows and shows no pages, messages are kept unshown, and every answer comes
// from the knowledge base's tables.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "consult/consultation_driver.h"
#include "consult/quiet_view.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"

namespace quorvin::bench {

// A fresh temporary directory, removed with everything in it.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    const std::filesystem::path &Path() const { return path; }
    // Writes `text` to the file `name` in the directory.
    void Write(const std::string &name, const std::string &text) const;

private:
    std::filesystem::path path;
};

class BenchConsultation {
public:
    // Builds `text` as kb.qvb of `directory`; Built() tells whether it did.
    BenchConsultation(const ScratchDirectory &directory, const std::string &text);

    bool Built() const { return built == 0; }
    // One consultation (a whole batch for a batch knowledge base); its result.
    int32_t Run() { return driver->RunConsultation(); }
    CConsultationDriver &Driver() { return *driver; }

private:
    CUserInterface ui;
    CQuietView view;
    CQuietMessages messages;
    CTableEnvironment environment;
    std::unique_ptr<CAllRetrieversWin> registry;
    std::unique_ptr<CConsultationDriver> driver;
    int32_t built = -1;
};

}  // namespace quorvin::bench
