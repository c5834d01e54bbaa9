#include "output/output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& path) {
        const fs::path target(path);
        std::string pattern = (fs::path(folderOf(path)) /
                               ("." + target.filename().string() + ".partial-XXXXXX")).string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            throw OutputError(path + ": cannot create a file in " + folderOf(path) + ": " +
                              std::strerror(errno));
        // mkstemp makes the file private; give it the permissions any new
        // file of this user would get.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        ::close(fd);
        name_ = pattern;
    }
    ~TemporaryFile() {
        if (!name_.empty()) std::remove(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& name() const { return name_; }
    void kept() { name_.clear(); }

private:
    std::string name_;
};

}  // namespace

std::string outputPathProblem(const std::string& path) {
    if (path.empty()) return "the output file name is empty";
    std::error_code error;
    const std::string folder = folderOf(path);
    const fs::file_status folderStatus = fs::status(folder, error);
    if (!fs::exists(folderStatus)) return path + ": the folder " + folder + " does not exist";
    if (!fs::is_directory(folderStatus)) return path + ": " + folder + " is not a folder";
    if (fs::is_directory(fs::status(path, error))) return path + ": is a folder, not a file";
    return "";
}

void writeThroughTemporary(const std::string& path,
                           const std::function<void(const std::string& temporaryPath)>& write) {
    const std::string problem = outputPathProblem(path);
    if (!problem.empty()) throw OutputError(problem);
    TemporaryFile temporary(path);
    try {
        write(temporary.name());
    } catch (const std::exception& e) {
        throw OutputError(path + ": " + e.what());
    }
    if (std::rename(temporary.name().c_str(), path.c_str()) != 0)
        throw OutputError(path + ": cannot put the finished file in place: " + std::strerror(errno));
    temporary.kept();
}

void writeFileAtomically(const std::string& path, const std::string& bytes) {
    writeThroughTemporary(path, [&](const std::string& temporaryPath) {
        std::FILE* file = std::fopen(temporaryPath.c_str(), "wb");
        if (file == nullptr) throw std::runtime_error(std::strerror(errno));
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        const int writeErrno = errno;
        if (std::fclose(file) != 0 || !written)
            throw std::runtime_error(std::string("cannot write: ") +
                                     std::strerror(written ? errno : writeErrno));
    });
}
