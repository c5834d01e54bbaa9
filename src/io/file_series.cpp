#include "io/file_series.h"

#include <filesystem>

#include "io/signal_cleanup.h"

namespace pd {

namespace {

int digitsFor(int count) {
    int digits = 3;
    for (long long limit = 1000; limit < count; limit *= 10) ++digits;
    return digits;
}

std::string numbered(int index, int digits) {
    std::string number = std::to_string(index);
    if (static_cast<int>(number.size()) < digits) number.insert(0, digits - number.size(), '0');
    return number;
}

}  // namespace

std::string frameFileName(const std::string& path, int index, int count) {
    const std::filesystem::path p(path);
    std::filesystem::path name = p.parent_path() / (p.stem().string() + "-" + numbered(index, digitsFor(count)));
    return name.string() + p.extension().string();
}

Result<FileSeries> FileSeries::open(const std::string& path, int count, Existing existing) {
    // Errors name the first file, the one a user looks for.
    Result<OutputFolder> folder = OutputFolder::open(frameFileName(path, 0, count));
    if (!folder) return folder.error();
    const std::size_t slash = path.find_last_of('/');
    return FileSeries(std::move(*folder), slash == std::string::npos ? path : path.substr(slash + 1), count,
                      existing);
}

FileSeries::FileSeries(OutputFolder folder, std::string base, int count, Existing existing)
    : folder_(std::move(folder)), base_(std::move(base)), count_(count), existing_(existing) {
    const std::filesystem::path p(base_);
    // Watched from the start; a name too long to watch cannot be written
    // either, so nothing is lost by not watching it.
    watchSeries(folder_.descriptor(), (p.stem().string() + "-").c_str(), p.extension().string().c_str(),
                digitsFor(count_));
}

FileSeries::FileSeries(FileSeries&& other) noexcept
    : folder_(std::move(other.folder_)),
      base_(std::move(other.base_)),
      count_(other.count_),
      existing_(other.existing_),
      written_(other.written_),
      finished_(other.finished_) {
    other.finished_ = true;
}

FileSeries::~FileSeries() {
    if (finished_) return;
    for (int i = written_ - 1; i >= 0; --i) {
        folder_.remove(nameOf(i));
        const EndingSignalsBlocked blocked;
        seriesWritten(i);
    }
    unwatchSeries();
}

std::string FileSeries::nameOf(int index) const { return frameFileName(base_, index, count_); }

std::string FileSeries::pathOf(int index) const { return folder_.pathOf(nameOf(index)); }

Status FileSeries::check(int index) const { return folder_.check(nameOf(index), existing_); }

Status FileSeries::writeNext(const OutputFiller& fill) {
    const int index = written_;
    return folder_.write(nameOf(index), fill, existing_, [&] { seriesWritten(written_ = index + 1); });
}

void FileSeries::finish(bool pruneLonger) {
    finished_ = true;
    unwatchSeries();
    if (!pruneLonger) return;
    for (int i = count_; folder_.isRegularFile(frameFileName(base_, i, count_)); ++i)
        folder_.remove(frameFileName(base_, i, count_));
}

}  // namespace pd
