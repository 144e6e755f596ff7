#include "dist/xscreensaver/dot_file.h"

#include "dist/xscreensaver/programs_list.h"
#include "platform/settings_store/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace xscreensaver {

namespace {

constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024; // far beyond any real preferences file
constexpr int kAttempts = 5;                            // reads when the file keeps changing under us
constexpr mode_t kNewFileMode = 0666;                   // before the umask, as editors create files
constexpr int kMaxLinkHops = 40;                        // as many as the system follows in one path

std::string describe(int error) { return std::strerror(error); }

class Descriptor {
public:
    explicit Descriptor(int fd) : Fd(fd) {}
    ~Descriptor() {
        if (Fd >= 0)
            ::close(Fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return Fd; }

private:
    int Fd;
};

struct Snapshot {
    bool Exists = false;
    std::string Text;
    struct stat Info {};
};

// Reads the whole file; nullopt with `problem` set when it cannot.
std::optional<Snapshot> readFile(const fs::path& file, std::string& problem) {
    Snapshot snapshot;
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return snapshot;
        problem = "cannot read it: " + describe(errno);
        return std::nullopt;
    }
    if (::fstat(fd.get(), &snapshot.Info) != 0 || !S_ISREG(snapshot.Info.st_mode)) {
        problem = "it is not a regular file";
        return std::nullopt;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            problem = "cannot read it: " + describe(errno);
            return std::nullopt;
        }
        if (got == 0)
            break;
        snapshot.Text.append(buffer, static_cast<std::size_t>(got));
        if (snapshot.Text.size() > kMaxFileBytes) {
            problem = "it is far too large to be an xscreensaver preferences file";
            return std::nullopt;
        }
    }
    snapshot.Exists = true;
    return snapshot;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kNewFileMode & ~mask;
}

// A temporary file beside the target, with the target's permissions (and,
// for root, its owner), holding `text`. Empty with `problem` set on failure.
std::string writeTemporary(const fs::path& target, const Snapshot& old, const std::string& text,
                           std::string& problem) {
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = (target.parent_path() / hidden).string();
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        problem = "cannot create a file beside it: " + describe(errno);
        return {};
    }
    const mode_t mode = old.Exists ? (old.Info.st_mode & 07777) : newFileMode();
    // Root editing someone's file hands it back to them; should that fail,
    // the file is still theirs to read through its permissions.
    if (old.Exists && ::geteuid() == 0 && ::fchown(fd.get(), old.Info.st_uid, old.Info.st_gid) != 0) {
    }
    if (::fchmod(fd.get(), mode) != 0 || !platform::writeAll(fd.get(), text) || ::fsync(fd.get()) != 0) {
        problem = "cannot write beside it: " + describe(errno);
        ::unlink(temporary.c_str());
        return {};
    }
    return temporary;
}

void syncFolder(const fs::path& folder) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

bool sameContent(const Snapshot& a, const Snapshot& b) { return a.Exists == b.Exists && a.Text == b.Text; }

// A symbolic link (a dotfiles folder, say) stays a link: its target is what
// gets written, also when that file does not exist yet. Links are followed
// one at a time, as the system would, because a dangling one has no
// canonical path.
struct LinkTarget {
    fs::path File;       // where a write through the name lands
    std::string Problem; // why it cannot be written through the link
};

LinkTarget followLinks(const fs::path& file) {
    std::error_code error;
    fs::path path = fs::absolute(file, error);
    if (error)
        return {file, {}};
    int hops = 0;
    for (; fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        if (hops == kMaxLinkHops)
            return {file, "it is a loop or an overlong chain of symbolic links; nothing changed"};
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return {file, "cannot read the symbolic link: " + error.message() + "; nothing changed"};
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    const fs::path resolved = fs::canonical(path, error);
    if (!error)
        return {resolved, {}};
    if (hops == 0)
        return {path, {}}; // no link: reading and writing the file say what is wrong
    const fs::path folder = fs::canonical(path.parent_path(), error);
    if (!error && fs::is_directory(folder, error) && !path.filename().empty())
        return {folder / path.filename(), {}};
    const bool missing = !error || error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
    return {file, "it is a symbolic link to " + path.string() + ", whose folder " +
                      (missing ? std::string("does not exist") : "cannot be reached: " + error.message()) +
                      "; the link is left as it is"};
}

// The settings of a file but the list the daemon uses.
std::vector<Resource> otherSettings(std::string_view text) {
    std::vector<Resource> settings = readResources(text);
    const auto list = std::find_if(settings.rbegin(), settings.rend(),
                                   [](const Resource& setting) { return isProgramsKey(setting.Key); });
    if (list != settings.rend())
        settings.erase(std::next(list).base());
    return settings;
}

// The daemon must read the old list with ours at its end and every other
// setting as before; an edit that would read otherwise is not written.
bool addsOnlyOurs(std::string_view before, std::string_view after) {
    std::vector<std::string> expected = listedPrograms(before);
    expected.emplace_back(kQuorvelProgram);
    return listedPrograms(after) == expected && otherSettings(after) == otherSettings(before);
}

} // namespace

fs::path defaultFile() {
    const passwd* account = ::getpwuid(::getuid());
    if (!account || !account->pw_dir || !*account->pw_dir)
        return {};
    return fs::path(account->pw_dir) / ".xscreensaver";
}

AddResult addQuorvelEntry(const fs::path& file) {
    AddResult result;
    LinkTarget target = followLinks(file);
    result.File = std::move(target.File);
    if (!target.Problem.empty()) {
        result.Problem = std::move(target.Problem);
        return result;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::optional<Snapshot> before = readFile(result.File, result.Problem);
        if (!before)
            return result;
        if (before->Exists && listsProgram(before->Text, kQuorvelProgram)) {
            result.What = Outcome::AlreadyListed;
            return result;
        }
        // A rename would go past the missing write permission; a file made
        // read-only is left as its owner meant it.
        if (before->Exists && ::access(result.File.c_str(), W_OK) != 0) {
            result.Problem = "it is read-only: " + describe(errno);
            return result;
        }
        const std::string text =
            before->Exists ? withEntryAppended(before->Text, kQuorvelEntry) : newFileText(kQuorvelEntry);
        if (!addsOnlyOurs(before->Text, text)) {
            result.Problem = "its list of screen savers is written in a way we cannot add to safely; add the line \"" +
                             std::string(kQuorvelEntry.substr(2)) + "\" to it by hand";
            return result;
        }
        const std::string temporary = writeTemporary(result.File, *before, text, result.Problem);
        if (temporary.empty())
            return result;

        std::string problem;
        const std::optional<Snapshot> now = readFile(result.File, problem);
        if (!now || !sameContent(*before, *now)) {
            ::unlink(temporary.c_str()); // someone else wrote it meanwhile: start again from theirs
            continue;
        }
        if (::rename(temporary.c_str(), result.File.c_str()) != 0) {
            result.Problem = "cannot replace it: " + describe(errno);
            ::unlink(temporary.c_str());
            return result;
        }
        syncFolder(result.File.parent_path());
        result.What = before->Exists ? Outcome::Added : Outcome::Created;
        return result;
    }
    result.Problem = "it kept changing while we read it; try again";
    return result;
}

} // namespace xscreensaver
