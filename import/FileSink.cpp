#include "import/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace importer {
namespace {

class SystemFile : public FileSink
{
public:
    explicit SystemFile(std::FILE* file) : m_file(file) {}
    ~SystemFile() override
    {
        if (m_file)
            std::fclose(m_file);
    }
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    bool write(std::string_view bytes) override
    {
        return m_file && std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size();
    }

    bool close() override
    {
        std::FILE* file = m_file;
        m_file = nullptr;
        return file && std::fclose(file) == 0;
    }

private:
    std::FILE* m_file;
};

} // namespace

std::unique_ptr<FileSink> openFileSink(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::system_error(errno, std::generic_category(), path);
    std::setvbuf(file, nullptr, _IONBF, 0); // every write goes to the system at once
    return std::make_unique<SystemFile>(file);
}

} // namespace importer
