#include "platform/settings_store/settings_file.h"
#include "platform/settings_store/file_io.h"

#include "platform/program_name/program_name.h"
#include "platform/settings_store/regedit4.h"
#include "platform/settings_store/registry.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {

namespace {

enum class FileState { Loaded, Missing, Damaged, Unreadable };

// Which bytes a parsed document came from: a file replaced or edited since
// has another inode, size or change time.
struct FileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct LoadedFile {
    FileState State = FileState::Missing;
    regedit4::Document Document;
    std::string Problem; // why it is damaged or unreadable
    std::optional<FileIdentity> Identity;
};

} // namespace

// An open key keeps each file it has read, parsed, for as long as the file
// stays the same, so that reading many values parses each file once.
struct OpenKey {
    std::string Section; // the key's full name, as its [section] line shows it
    std::map<std::string, LoadedFile> Files;
};

namespace {

constexpr const char* kRootName = "HKEY_LOCAL_MACHINE\\";
constexpr const char* kDefaultSystemDirs = "/etc/xdg";
constexpr mode_t kNewFileMode = 0644;
constexpr int kMaxLinkHops = 40; // as the kernel allows
constexpr std::size_t kTemporarySuffixLength = 6; // the XXXXXX of mkostemp
constexpr std::int64_t kNsPerSecond = 1000000000;

// Each distinct problem is reported once per process, in one line.
void warnOnce(const std::string& message) {
    static std::mutex guard;
    static std::set<std::string> said;
    std::lock_guard lock(guard);
    if (said.insert(message).second)
        std::fprintf(stderr, "%s: %s\n", programName(), message.c_str());
}

std::string describe(int error) { return std::strerror(error); }

FileIdentity identityOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size,
            info.st_mtim.tv_sec * kNsPerSecond + info.st_mtim.tv_nsec,
            info.st_ctim.tv_sec * kNsPerSecond + info.st_ctim.tv_nsec};
}

void markUnreadable(LoadedFile& file, const std::string& problem) {
    file = LoadedFile{};
    file.State = FileState::Unreadable;
    file.Problem = problem;
}

// Reads at most one byte more than a settings file may hold, so that a huge
// file is recognised without reading all of it.
bool readText(int fd, std::string& text, std::string& problem) {
    char buffer[16384];
    while (text.size() <= regedit4::kMaxFileBytes) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            problem = describe(errno);
            return false;
        }
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

// Brings the file's parsed state up to date, parsing only when the file is
// new or has changed. Only a regular file is ever read: opening does not
// wait for a writer, so a pipe or a device in its place cannot block.
void refresh(LoadedFile& loaded, const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        loaded = LoadedFile{};
        loaded.State = error == ENOENT ? FileState::Missing : FileState::Unreadable;
        loaded.Problem = describe(error);
        return;
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        markUnreadable(loaded, known ? "not a regular file" : describe(errno));
        ::close(fd);
        return;
    }
    const FileIdentity identity = identityOf(info);
    if (loaded.Identity == identity) {
        ::close(fd);
        return;
    }
    std::string text, problem;
    const bool read = readText(fd, text, problem);
    ::close(fd);
    if (!read) {
        markUnreadable(loaded, problem);
        return;
    }
    loaded = LoadedFile{};
    loaded.Identity = identity;
    auto document = regedit4::parse(text, loaded.Problem);
    if (!document) {
        loaded.State = FileState::Damaged;
        return;
    }
    loaded.State = FileState::Loaded;
    loaded.Document = std::move(*document);
}

const LoadedFile& load(OpenKey& key, const fs::path& file) {
    LoadedFile& loaded = key.Files[file.string()];
    refresh(loaded, file);
    return loaded;
}

std::string timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Keeps the user's bytes under a name of their own; never overwrites an
// earlier copy.
bool moveAside(const fs::path& file, fs::path& keptAs) {
    const std::string base = file.string() + ".damaged-" + timestamp();
    for (int attempt = 0; attempt < 100; ++attempt) {
        keptAs = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        if (::link(file.c_str(), keptAs.c_str()) == 0) {
            ::unlink(file.c_str());
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// Temporary file, fsync, rename: a reader or a crash sees the old file or
// the new one, never a torn one.
bool replaceFile(const fs::path& file, int folderFd, const std::string& text, std::string& problem) {
    std::string hidden = ".";
    hidden += file.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = (file.parent_path() / hidden).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        problem = describe(errno);
        return false;
    }
    struct stat old {};
    const mode_t mode = ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : kNewFileMode;
    const bool written = ::fchmod(fd, mode) == 0 && platform::writeAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        problem = describe(written ? errno : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    ::fsync(folderFd);
    return true;
}

// Follows symbolic links to the file they end at, which need not exist yet,
// so that a settings file kept elsewhere is replaced where it lives.
bool resolveLinks(fs::path& file, std::string& problem) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(file.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        std::error_code error;
        const fs::path target = fs::read_symlink(file, error);
        if (error) {
            problem = error.message();
            return false;
        }
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    problem = describe(ELOOP);
    return false;
}

// Decided by the permission bits alone, as replacing a file needs only the
// folder's permission and the superuser may write anything: a file made
// read-only is still meant to stay as it is.
bool isReadOnly(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0)
        return false;
    const mode_t writable = info.st_uid == ::geteuid() ? S_IWUSR : (S_IWUSR | S_IWGRP | S_IWOTH);
    return (info.st_mode & writable) == 0;
}

bool isTemporaryName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kTemporarySuffixLength && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Every writer holds the folder lock while its temporary file exists, so one
// found under the lock was left by a writer that was killed.
void removeStaleTemporaries(const fs::path& file) {
    std::string prefix = ".";
    prefix += file.filename().string();
    prefix += ".";
    std::error_code error;
    for (fs::directory_iterator entry(file.parent_path(), error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        const fs::path& path = entry->path();
        struct stat info {};
        if (isTemporaryName(path.filename().string(), prefix) && ::lstat(path.c_str(), &info) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
            ::unlink(path.c_str());
    }
}

bool makeFolders(const fs::path& folder, std::string& problem) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        problem = error.message();
        return false;
    }
    return true;
}

// Holds an exclusive lock on the folder for the lifetime of one change, so
// that two programs changing values at once both keep their change.
class FolderLock {
public:
    explicit FolderLock(const fs::path& folder) {
        Fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (Fd < 0) {
            Problem = describe(errno);
            return;
        }
        while (::flock(Fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                Problem = describe(errno);
                ::close(Fd);
                Fd = -1;
                return;
            }
        }
    }
    ~FolderLock() {
        if (Fd >= 0)
            ::close(Fd); // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return Fd >= 0; }
    int fd() const { return Fd; }
    const std::string& problem() const { return Problem; }

private:
    int Fd = -1;
    std::string Problem;
};

const regedit4::Value* findIn(const LoadedFile& file, const std::string& section, std::string_view name) {
    if (file.State != FileState::Loaded)
        return nullptr;
    const regedit4::Section* key = file.Document.find(section);
    return key ? key->find(name) : nullptr;
}

bool isEmptyText(const regedit4::Value& value) {
    return value.Type == static_cast<std::uint32_t>(ValueType::Text) && value.Data.size() == 1 && value.Data[0] == 0;
}

// A damaged user file is reported when it is kept aside, at the first write.
// An unreadable one is reported once, for reading and writing alike.
void reportReadProblem(const fs::path& file, const LoadedFile& loaded, bool isUserFile) {
    if (loaded.State == FileState::Damaged && !isUserFile)
        warnOnce("settings file '" + file.string() + "' is damaged (" + loaded.Problem + "); ignoring it");
    else if (loaded.State == FileState::Unreadable)
        warnOnce("cannot read settings file '" + file.string() + "' (" + loaded.Problem +
                 "); using the defaults and leaving the file as it is");
}

const regedit4::Value* findInSystemFiles(OpenKey& key, std::string_view name) {
    for (const fs::path& file : systemSettingsFiles()) {
        const LoadedFile& loaded = load(key, file);
        reportReadProblem(file, loaded, false);
        if (const regedit4::Value* value = findIn(loaded, key.Section, name))
            return value;
    }
    return nullptr;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

fs::path homeFolder() {
    const std::string home = environment("HOME");
    if (!home.empty())
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return {};
}

} // namespace

fs::path userSettingsFile() {
    fs::path base = environment("XDG_CONFIG_HOME");
    if (base.empty() || base.is_relative()) {
        const fs::path home = homeFolder();
        if (home.empty())
            return {};
        base = home / ".config";
    }
    return base / kSettingsFolder / kSettingsFileName;
}

std::vector<fs::path> systemSettingsFiles() {
    std::string dirs = environment("XDG_CONFIG_DIRS");
    if (dirs.empty())
        dirs = kDefaultSystemDirs;
    std::vector<fs::path> files;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path dir = dirs.substr(start, end - start);
        if (!dir.empty() && dir.is_absolute())
            files.push_back(dir / kSettingsFolder / kSettingsFileName);
        start = end + 1;
    }
    return files;
}

KeyHandle createKey(std::string_view path) {
    if (userSettingsFile().empty()) {
        warnOnce("no home folder is known; settings cannot be kept");
        return nullptr;
    }
    return new OpenKey{kRootName + std::string(path), {}};
}

void closeKey(KeyHandle key) { delete key; }

QueryResult queryValue(KeyHandle key, std::string_view name, void* data, std::uint32_t capacity,
                       std::uint32_t& size, std::uint32_t* type) {
    size = 0;
    if (!key)
        return QueryResult::Failed;
    const fs::path userFile = userSettingsFile();
    const LoadedFile& user = load(*key, userFile);
    reportReadProblem(userFile, user, true);

    // An empty text is what the programs leave behind for a missing value, so
    // it must not hide a real one that a system-wide installation records.
    const regedit4::Value* value = findIn(user, key->Section, name);
    if (!value || isEmptyText(*value)) {
        if (const regedit4::Value* system = findInSystemFiles(*key, name))
            value = system;
    }
    if (!value)
        return user.State == FileState::Unreadable ? QueryResult::Failed : QueryResult::NotFound;

    size = static_cast<std::uint32_t>(value->Data.size());
    if (type)
        *type = value->Type;
    if (value->Data.size() > capacity)
        return QueryResult::TooLarge;
    if (!value->Data.empty())
        std::memcpy(data, value->Data.data(), value->Data.size());
    return QueryResult::Ok;
}

bool setValue(KeyHandle key, std::string_view name, std::uint32_t type, const void* data, std::uint32_t size) {
    if (!key)
        return false;
    const fs::path file = userSettingsFile();
    const auto cannotSave = [&](const std::string& problem) {
        warnOnce("cannot save settings to '" + file.string() + "' (" + problem + ")");
        return false;
    };

    std::string problem;
    fs::path target = file;
    if (!makeFolders(file.parent_path(), problem) || !resolveLinks(target, problem))
        return cannotSave(problem);
    FolderLock lock(target.parent_path());
    if (!lock.held())
        return cannotSave(lock.problem());
    removeStaleTemporaries(target);

    LoadedFile& current = key->Files[file.string()];
    refresh(current, file);
    if (current.State == FileState::Unreadable) {
        reportReadProblem(file, current, true); // writing now would lose what it holds
        return false;
    }
    if (isReadOnly(target))
        return cannotSave("the file is read-only");
    regedit4::Document document;
    if (current.State == FileState::Damaged) {
        fs::path keptAs;
        if (!moveAside(target, keptAs))
            return cannotSave("it is damaged and could not be kept aside: " + describe(errno));
        warnOnce("settings file '" + file.string() + "' was damaged (" + current.Problem + "); kept it as '" +
                 keptAs.string() + "' and started afresh");
    } else {
        document = current.Document;
    }

    const auto* bytes = static_cast<const std::uint8_t*>(data);
    document.section(key->Section).set(name, type, std::vector<std::uint8_t>(bytes, bytes + size));
    const bool saved = replaceFile(target, lock.fd(), regedit4::format(document), problem);
    current = LoadedFile{};
    if (!saved)
        return cannotSave(problem);
    // Under the lock no other writer can have changed it since the rename.
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        current.State = FileState::Loaded;
        current.Document = std::move(document);
        current.Identity = identityOf(info);
    }
    return true;
}

} // namespace platform
