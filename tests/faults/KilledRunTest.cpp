// The conversion is killed in the middle of the members step (the power goes, the process is
// ended by force). The club database must open afterwards, be sound, and hold exactly the lines
// committed before: the members step commits after batches of whole kLinesPerCommit lines, so it
// holds the first k * kLinesPerCommit lines of the members file for some k, each line with its
// person and its membership, and nothing of the lines after them.

#include "FaultRun.h"
#include "clubdb/BatchedTransaction.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

// The number of memberships in the club database, or nothing while it cannot be read yet.
std::optional<std::int64_t> memberships(const std::string& database)
{
    try {
        clubdb::Connection db = clubdb::Connection::open(database, clubdb::OpenMode::ReadOnly);
        clubdb::Statement count(db, "SELECT count(*) FROM Mitgliedschaft");
        count.step();
        return count.integer(0);
    } catch (const clubdb::DbError&) {
        return std::nullopt;
    }
}

std::string single(clubdb::Connection& db, const std::string& sql)
{
    clubdb::Statement query(db, sql);
    return query.step() ? query.text(0) : "";
}

} // namespace

TEST(KilledRunTest, TheClubDatabaseHoldsExactlyTheCommittedLines)
{
    constexpr int kBatch = clubdb::BatchedTransaction::kLinesPerCommit;
    constexpr int kLines = 30 * kBatch; // far more than the run gets through before the kill
    TempFolder folder;
    const std::string exportFolder = folder.file("export");
    const std::string database = folder.file("Verein.vdb");
    std::filesystem::create_directory(exportFolder);
    writeExportFile(exportFolder + "/B_V_1.csv", {"1,04-001,SG Tell,SGT,,,,,,,Augsburg"});
    {
        std::ofstream members(exportFolder + "/B_M_1.csv", std::ios::binary);
        for (const std::string& line : memberLines(kLines))
            members << line << "\r\n";
    }
    writeDefinitionsFile(folder.file("wkak.zrv"));

    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = {TVX_BATCH_PROGRAM, "--no-log", exportFolder, database, folder.file("wkak.zrv")};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, TVX_BATCH_PROGRAM, &quiet, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&quiet);

    // Wait until the members step has committed a batch, then kill it at once.
    int status = 0;
    bool running = true;
    while (running && memberships(database).value_or(0) < kBatch) {
        running = waitpid(child, &status, WNOHANG) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(running) << "the run ended before it committed a batch";
    kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    // Opened for writing, as the next run would: a transaction cut off by the kill is rolled back.
    clubdb::Connection db = clubdb::Connection::open(database);
    EXPECT_EQ(single(db, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(single(db, "SELECT count(*) FROM Vereinsliste"), "1");
    const int stored = std::stoi(single(db, "SELECT count(*) FROM Mitgliedschaft"));
    EXPECT_GE(stored, kBatch);
    EXPECT_LT(stored, kLines);
    EXPECT_EQ(stored % kBatch, 0) << stored;
    // Exactly the first lines: each its own person, the last one stored is the last committed line.
    EXPECT_EQ(single(db, "SELECT count(*) FROM Schuetzendaten"), std::to_string(stored));
    EXPECT_EQ(single(db, "SELECT count(DISTINCT M_Name) FROM Schuetzendaten"), std::to_string(stored));
    EXPECT_EQ(single(db, "SELECT max(M_Name) FROM Schuetzendaten"), memberName(stored) + " ");
    EXPECT_EQ(single(db, "SELECT count(*) FROM Mitgliedschaft JOIN Schuetzendaten ON M_ID = Mgl_Schütze_ID"),
              std::to_string(stored));
}
