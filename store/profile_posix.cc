// Natively: the profile routines over POSIX files. Reads go to the file every
// time; a write replaces the whole file at once (a temporary file in the same
// directory, flushed to disk and renamed over the old one) while holding a
// lock on the directory, so no reader sees a torn file and no two writers
// lose each other's update.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "store/profile.h"
#include "store/profile_format.h"
#include "store/profile_posix_calls.h"

namespace store {
namespace {

// Reads the whole file into `out`; false when it cannot be opened.
bool ReadAll(int fd, text::Text* out) {
  struct stat st;
  if (fstat(fd, &st) != 0) return false;
  out->resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  for (;;) {
    if (got == out->size()) out->resize(out->size() + 4096);
    const ssize_t n = read(fd, &(*out)[got], out->size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  out->resize(got);
  return true;
}

bool LoadFile(const char* path, text::Text* out) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ReadAll(fd, out);
  close(fd);
  return ok;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = MutableProfileSystemCalls().write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Holds an exclusive lock on a directory for its lifetime. The lock sits on
// the directory itself, not on the file (which the rename replaces) and not
// on a lock file (which would lie about in the operator's folder).
class DirectoryLock {
 public:
  explicit DirectoryLock(const text::Text& dir) : fd_(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~DirectoryLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
  }
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  bool held() const { return fd_ >= 0; }
  int fd() const { return fd_; }

 private:
  int fd_;
};

// A file reached through a symbolic link is replaced where it really lies.
text::Text RealTarget(const text::Text& file) {
  struct stat st;
  if (lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return file;
  char* real = realpath(file.c_str(), nullptr);
  if (real == nullptr) return file;
  text::Text out(real);
  std::free(real);
  return out;
}

void SplitPath(const text::Text& file, text::Text* dir, text::Text* base) {
  const std::size_t slash = file.rfind('/');
  if (slash == text::Text::npos) {
    *dir = ".";
    *base = file;
  } else {
    *dir = slash == 0 ? text::Text("/") : file.substr(0, slash);
    *base = file.substr(slash + 1);
  }
}

// Writes `bytes` to a temporary file beside `file`, flushes it and renames it
// over `file`. The temporary name is fixed: only the lock holder uses it, and
// one left by a killed writer is simply overwritten next time.
bool ReplaceFile(const DirectoryLock& lock, const text::Text& dir, const text::Text& base, const text::Text& file,
                 const struct stat* old, std::string_view bytes) {
  const text::Text temp = text::Concat({text::View(dir), "/.", text::View(base), ".writing"});
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  if (old != nullptr) {
    // The new file takes the old one's owner and mode. A writer that is not
    // root may be refused the owner; the file is then its own, which is no
    // reason to give up the write.
    if (fchown(fd, old->st_uid, old->st_gid) != 0) errno = 0;
    ok = fchmod(fd, old->st_mode & 07777) == 0;
  }
  ok = ok && WriteAll(fd, bytes) && MutableProfileSystemCalls().fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && MutableProfileSystemCalls().rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  // The rename itself reaches the disk with the directory.
  fsync(lock.fd());
  return true;
}

}  // namespace

ProfileSystemCalls& MutableProfileSystemCalls() {
  static ProfileSystemCalls calls{::write, ::fsync, ::rename};
  return calls;
}

// The per-thread buffers below keep their pages for files of ordinary size
// only: after a very large file they are given back, so one 50 MB story does
// not stay in the host's memory for the life of the process.
constexpr std::size_t kKeptBufferBytes = 8 << 20;

void GiveBackIfLarge(text::Text& buffer) {
  if (buffer.capacity() > kKeptBufferBytes) text::Text().swap(buffer);
}

text::Text ProfileRead(const text::Text& file, const text::Text& section, const text::Text& key) {
  // One buffer per thread: a read of a large file costs no allocation. It is
  // filled anew by every read, so no content is ever served from it twice.
  thread_local text::Text bytes;
  text::Text value;
  if (LoadFile(file.c_str(), &bytes))
    value = ReadProfileValue(text::View(bytes), text::View(section), text::View(key), kProfileBufferSize);
  GiveBackIfLarge(bytes);
  return value;
}

void ProfileWrite(const text::Text& file, const text::Text& section, const text::Text* key,
                  const text::Text* value) {
  if (file.empty()) return;
  const text::Text target = RealTarget(file);
  text::Text dir, base;
  SplitPath(target, &dir, &base);
  if (base.empty()) return;
  const DirectoryLock lock(dir);
  if (!lock.held()) return;  // no such directory: nothing is written

  struct stat st;
  const bool exists = stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return;  // a file out of reach is not a missing one
  if (exists && (!S_ISREG(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                 access(target.c_str(), W_OK) != 0))
    return;  // a read-only file stays as it is
  // Buffers kept per thread: a large file costs no fresh pages each time.
  thread_local text::Text bytes, edited;
  bytes.clear();
  if (exists && !LoadFile(target.c_str(), &bytes)) {
    GiveBackIfLarge(bytes);
    return;
  }

  const std::string_view key_view = key ? text::View(*key) : std::string_view();
  const std::string_view value_view = value ? text::View(*value) : std::string_view();
  if (EditProfile(text::View(bytes), text::View(section), key ? &key_view : nullptr, value ? &value_view : nullptr,
                  &edited))
    ReplaceFile(lock, dir, base, target, exists ? &st : nullptr, text::View(edited));
  GiveBackIfLarge(bytes);
  GiveBackIfLarge(edited);
}

}  // namespace store
