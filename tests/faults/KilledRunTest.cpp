// The conversion is killed in the middle of the members step (the power goes, the process is
// ended by force). The club database must open afterwards, be sound, and hold exactly the lines
// committed before: the members step commits after batches of whole kLinesPerCommit lines, so it
// holds the first k * kLinesPerCommit lines of the members file for some k, each line with its
// person and its membership, and nothing of the lines after them.

#include "clubdb/BatchedTransaction.h"
#include "run/RunSetup.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TEST(KilledRunTest, TheClubDatabaseHoldsExactlyTheCommittedLines)
{
    constexpr int kBatch = clubdb::BatchedTransaction::kLinesPerCommit;
    constexpr int kLines = 30 * kBatch; // far more than the run gets through before the kill
    RunSetup r;
    r.files(1, kLines);
    const std::string database = r.eingaben.vdbPfad;
    // The memberships stored so far; none while the club database cannot be read yet.
    const auto memberships = [&]() -> std::int64_t {
        try {
            clubdb::Connection db = clubdb::Connection::open(database, clubdb::OpenMode::ReadOnly);
            return std::stoll(queryRows(db, "SELECT count(*) FROM Mitgliedschaft").at(0));
        } catch (const clubdb::DbError&) {
            return 0;
        }
    };
    std::filesystem::remove(database); // the program creates it
    const pid_t child = fork();
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO), dup2(quiet, STDERR_FILENO);
        // The program finds its data folder below HOME: the test's folder, never the user's.
        setenv("HOME", r.folder.path().c_str(), 1), unsetenv("XDG_DATA_HOME");
        execl(TVX_BATCH_PROGRAM, TVX_BATCH_PROGRAM, "--no-log", r.eingaben.exportOrdner.c_str(), database.c_str(),
              r.definitions.c_str(), nullptr);
        _exit(127);
    }
    ASSERT_GT(child, 0);

    // Wait until the members step has committed a batch, then kill it at once.
    int status = 0;
    bool running = true;
    while (running && memberships() < kBatch) {
        running = waitpid(child, &status, WNOHANG) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(running) << "the run ended before it committed a batch";
    kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    // Opened for writing, as the next run would: a transaction cut off by the kill is rolled back.
    EXPECT_EQ(r.single("PRAGMA integrity_check"), "ok");
    const std::int64_t stored = r.count("Mitgliedschaft");
    EXPECT_TRUE(stored >= kBatch && stored < kLines && stored % kBatch == 0) << stored;
    // Exactly the first lines: each its own person, the last one stored is the last committed line.
    const std::string n = std::to_string(stored);
    EXPECT_EQ(r.single("SELECT (SELECT count(*) FROM Vereinsliste), count(*), count(DISTINCT M_Name), max(M_Name), "
                       "(SELECT count(*) FROM Mitgliedschaft JOIN Schuetzendaten ON M_ID = Mgl_Schütze_ID) FROM "
                       "Schuetzendaten"),
              "1|" + n + "|" + n + "|" + memberName(static_cast<int>(stored)) + " |" + n);
}
