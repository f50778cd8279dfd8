// A throwaway PostgreSQL server for the tests of the PostgreSQL engine.
//
// It makes a cluster with initdb in a temporary directory, starts it
// listening on a Unix socket in that directory only (no TCP port), creates
// one database, and stops and removes it all when it is destroyed, also after
// a failed test. The server refuses to run as root: as root, the cluster is
// made and run as the "postgres" user the Debian package creates, and the
// tests connect over the socket as its role "postgres".
//
// When the server cannot be made (the binaries are missing), `Start` says
// why; a test then skips, except under CI (CI=true), where it fails, so that
// CI really runs the PostgreSQL tests.
#pragma once

#include <fcntl.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class CPostgresServer {
public:
    CPostgresServer() = default;
    ~CPostgresServer() { Stop(); }
    CPostgresServer(const CPostgresServer &) = delete;
    CPostgresServer &operator=(const CPostgresServer &) = delete;

    // Starts the server and creates the database; false, with `reason`,
    // when it cannot.
    bool Start(std::string &reason) {
        const std::string bin = BinaryDirectory();
        if (bin.empty()) {
            reason = "no PostgreSQL server binaries (initdb, pg_ctl) under /usr/lib/postgresql";
            return false;
        }
        char pattern[] = "/tmp/quorvin-pg-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            reason = "cannot make a temporary directory";
            return false;
        }
        root = pattern;
        if (!HandOver(reason)) return false;
        const std::string data = root + "/data";
        if (Run({bin + "/initdb", "-D", data, "-U", "postgres", "-A", "trust", "-E", "UTF8", "--locale=C", "-N"}) != 0) {
            reason = "initdb failed (see " + root + "/commands.log)";
            return false;
        }
        if (Run({bin + "/pg_ctl", "-D", data, "-l", root + "/server.log", "-w", "-o",
                 "-k " + root + " -c listen_addresses='' -c fsync=off", "start"}) != 0) {
            reason = "the server did not start (see " + root + "/server.log)";
            return false;
        }
        pgCtl = bin + "/pg_ctl";
        return Execute("postgres", "CREATE DATABASE quorvin_test", reason);
    }

    // A keyword connection string for the test database.
    std::string Location(const std::string &database = "quorvin_test") const {
        return "host=" + root + " dbname=" + database + " user=postgres";
    }
    std::string SocketDirectory() const { return root; }

    // Runs SQL (one or more statements) on a database of the server.
    bool Execute(const std::string &database, const std::string &sql, std::string &reason) const {
        PGconn *conn = PQconnectdb(Location(database).c_str());
        bool done = PQstatus(conn) == CONNECTION_OK;
        if (done) {
            PQsetNoticeProcessor(conn, [](void *, const char *) {}, nullptr);
            PGresult *result = PQexec(conn, sql.c_str());
            const ExecStatusType status = PQresultStatus(result);
            done = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
            PQclear(result);
        }
        if (!done) reason = PQerrorMessage(conn);
        PQfinish(conn);
        return done;
    }

    // The rows of a query, each as its values joined by "|", null as "null".
    std::vector<std::string> Rows(const std::string &sql, const std::string &database = "quorvin_test") const {
        std::vector<std::string> rows;
        PGconn *conn = PQconnectdb(Location(database).c_str());
        PGresult *result = PQexec(conn, sql.c_str());
        for (int row = 0; PQresultStatus(result) == PGRES_TUPLES_OK && row < PQntuples(result); ++row) {
            std::string line;
            for (int column = 0; column < PQnfields(result); ++column)
                line += (column ? "|" : "") +
                        std::string(PQgetisnull(result, row, column) ? "null" : PQgetvalue(result, row, column));
            rows.push_back(line);
        }
        PQclear(result);
        PQfinish(conn);
        return rows;
    }

    // Stops the server and removes its directory; a second call does nothing.
    void Stop() {
        if (!pgCtl.empty()) Run({pgCtl, "-D", root + "/data", "-m", "immediate", "-w", "stop"});
        pgCtl.clear();
        if (root.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
        root.clear();
    }

    // The newest server's binary directory, or empty.
    static std::string BinaryDirectory() {
        std::string best;
        int bestVersion = -1;
        std::error_code error;
        for (const auto &entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
            const std::string bin = entry.path().string() + "/bin";
            const int version = std::atoi(entry.path().filename().string().c_str());
            if (version > bestVersion && access((bin + "/initdb").c_str(), X_OK) == 0 &&
                access((bin + "/pg_ctl").c_str(), X_OK) == 0) {
                best = bin;
                bestVersion = version;
            }
        }
        return best;
    }

private:
    // As root, the directory goes to the postgres user, who runs the server.
    bool HandOver(std::string &reason) {
        if (geteuid() != 0) return true;
        const passwd *user = getpwnam("postgres");
        if (user == nullptr || chown(root.c_str(), user->pw_uid, user->pw_gid) != 0) {
            reason = "running as root, and there is no postgres user to run the server";
            return false;
        }
        owner = "postgres";
        return true;
    }

    // Runs a command (as the server's owner), its output to commands.log.
    int Run(std::vector<std::string> command) const {
        if (!owner.empty()) command.insert(command.begin(), {"runuser", "-u", owner, "--"});
        const pid_t child = fork();
        if (child == 0) {
            const int log = open((root + "/commands.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (log >= 0) {
                dup2(log, 1);
                dup2(log, 2);
            }
            if (chdir(root.c_str()) != 0) _exit(126);
            std::vector<char *> argv;
            for (std::string &part : command) argv.push_back(part.data());
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
    }

    std::string root;   // the temporary directory: data, socket, logs
    std::string owner;  // who runs the server; empty: this process's user
    std::string pgCtl;  // set while the server runs
};

// Starts `server` or ends the test: skipped, or failed under CI.
#define QUORVIN_START_POSTGRES(server)                                              \
    do {                                                                            \
        std::string quorvinReason;                                                  \
        if (!(server).Start(quorvinReason)) {                                       \
            const char *quorvinCi = std::getenv("CI");                              \
            if (quorvinCi != nullptr && std::string(quorvinCi) == "true")           \
                FAIL() << "PostgreSQL test server: " << quorvinReason;              \
            GTEST_SKIP() << "PostgreSQL test server: " << quorvinReason;            \
        }                                                                           \
    } while (false)
