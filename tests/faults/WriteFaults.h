#pragma once

// Fails the k-th write of a conversion, the way a disk does: every write and sync that the
// operating system is asked for, of the club database, its journal and the conversion log, is
// counted in one sequence, and the k-th fails, once (a passing input/output error) or together
// with every later one (a full disk).
//
// The club database and its journal are reached through a small SQLite file system that wraps the
// system's and becomes the default while an object of this class lives: only files whose name
// begins with the club database's (Verein.vdb, the Verein.vdb~... built beside it, their journals)
// are counted, never the definitions file. A truncation is not counted: it gives space back, and
// a full disk never refuses it. The log is reached through the run's FileSink: one write of the
// log is one buffer handed to the system.
//
// A failing write answers as the system's file would: SQLITE_IOERR_WRITE for an input/output
// error, SQLITE_FULL on a full disk, SQLITE_IOERR_FSYNC for a failing sync; the log's write
// simply fails.

#include "import/FileSink.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

class WriteFaults
{
public:
    enum class Form {
        Once,    // the k-th write fails, the next ones go through again
        DiskFull // the k-th write and every one after it fail
    };

    // Counts the writes of the club database at path, its journal and the files beside it.
    explicit WriteFaults(const std::string& database) : m_prefix(std::filesystem::weakly_canonical(database).string())
    {
        s_active = this;
        m_base = sqlite3_vfs_find(nullptr);
        m_vfs = *m_base; // the other operations of the system's file system ignore which one calls them
        m_vfs.zName = "tvx-schreibfehler";
        m_vfs.pNext = nullptr;
        m_vfs.xOpen = &open;
        sqlite3_vfs_register(&m_vfs, 1);
    }
    ~WriteFaults()
    {
        sqlite3_vfs_unregister(&m_vfs);
        s_active = nullptr;
    }
    WriteFaults(const WriteFaults&) = delete;
    WriteFaults& operator=(const WriteFaults&) = delete;

    // From now on, the k-th write counted fails in the given form; k = 0: none fails. The count
    // starts anew.
    void failAt(int k, Form form = Form::Once)
    {
        m_failAt = k;
        m_form = form;
        m_writes = 0;
    }

    // The disk is full from the next write on.
    void fillDisk() { failAt(1, Form::DiskFull); }

    // The writes counted since the last failAt().
    int writes() const { return m_writes; }

    // Creates the log as the run does, through a file whose writes are counted with the others.
    importer::FileSinkOpener logOpener()
    {
        return [this](const std::string& path) -> std::unique_ptr<importer::FileSink> {
            return std::make_unique<CountedSink>(*this, importer::openFileSink(path));
        };
    }

private:
    // One write or sync is asked for; false when it is to fail.
    bool allow()
    {
        ++m_writes;
        return m_failAt == 0 || m_writes < m_failAt || (m_form == Form::Once && m_writes > m_failAt);
    }

    class CountedSink : public importer::FileSink
    {
    public:
        CountedSink(WriteFaults& faults, std::unique_ptr<importer::FileSink> file)
            : m_faults(faults), m_file(std::move(file))
        {
        }
        bool write(std::string_view bytes) override { return m_faults.allow() && m_file->write(bytes); }
        bool close() override { return m_file->close(); }

    private:
        WriteFaults& m_faults;
        std::unique_ptr<importer::FileSink> m_file;
    };

    // The system's file is opened as it is. A counted one gets a copy of its methods whose write
    // and sync count first; the files of one file system share their methods, so there are few.
    static int open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
    {
        WriteFaults& self = *s_active;
        const int rc = self.m_base->xOpen(self.m_base, name, file, flags, outFlags);
        if (rc != SQLITE_OK || !name || !(flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_MAIN_JOURNAL)) ||
            !std::filesystem::weakly_canonical(name).string().starts_with(self.m_prefix))
            return rc;
        sqlite3_io_methods& counted = self.m_counted.try_emplace(file->pMethods, *file->pMethods).first->second;
        counted.xWrite = &write;
        counted.xSync = &sync;
        file->pMethods = &counted;
        return rc;
    }

    static const sqlite3_io_methods& system(sqlite3_file* file)
    {
        for (const auto& [original, counted] : s_active->m_counted)
            if (&counted == file->pMethods)
                return *original;
        std::abort();
    }

    static int write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
    {
        if (!s_active->allow())
            return s_active->m_form == Form::Once ? SQLITE_IOERR_WRITE : SQLITE_FULL;
        return system(file).xWrite(file, buffer, amount, offset);
    }

    // A sync that goes through is not passed on: nothing of a test must outlive a power cut, and
    // a real sync waits for the disk.
    static int sync(sqlite3_file*, int) { return s_active->allow() ? SQLITE_OK : SQLITE_IOERR_FSYNC; }

    static inline WriteFaults* s_active = nullptr;
    std::string m_prefix;
    sqlite3_vfs* m_base = nullptr;
    sqlite3_vfs m_vfs{};
    std::map<const sqlite3_io_methods*, sqlite3_io_methods> m_counted; // by the system's methods
    int m_failAt = 0;
    Form m_form = Form::Once;
    int m_writes = 0;
};
