#include "shell/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pm {

namespace fs = std::filesystem;

namespace {

// Writes all bytes to fd, going on after short writes and interruptions.
bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool fail(std::string& reason, int code) {
  reason = fileErrorReason(code);
  return false;
}

// A target that exists but cannot be replaced by renaming (a terminal, a pipe,
// a device): written in place, as any program writes to it.
bool writeInPlace(const fs::path& path, std::string_view bytes, std::string& reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return fail(reason, errno);
  const bool written = writeAll(fd, bytes);
  const int code = errno;
  if (::close(fd) != 0 && written) return fail(reason, errno);
  return written || fail(reason, code);
}

// A name for the temporary file beside `target`: hidden, recognisably the
// target's, and short enough for any file system.
fs::path temporaryName(const fs::path& target, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  std::string stem = target.filename().string().substr(0, 180);
  const auto clock = static_cast<unsigned long long>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  char tail[64];
  std::snprintf(tail, sizeof tail, ".%ld-%u-%llx.part", static_cast<long>(::getpid()),
                counter++ + attempt, clock & 0xffffffull);
  return target.parent_path() / ("." + stem + tail);
}

}  // namespace

std::string fileErrorReason(int code) {
  switch (code) {
    case ENOSPC:
      return "kein Platz mehr auf dem Datenträger";
#ifdef EDQUOT
    case EDQUOT:
      return "das Speicherkontingent ist erschöpft";
#endif
    case EFBIG:
      return "die Datei wird zu groß";
    case EACCES:
    case EPERM:
      return "keine Berechtigung zum Schreiben";
    case EROFS:
      return "das Dateisystem ist schreibgeschützt";
    case ENOENT:
      return "der Ordner existiert nicht";
    case ENOTDIR:
      return "ein Teil des Pfades ist kein Ordner";
    case EISDIR:
      return "der Name gehört einem Ordner";
    case ENAMETOOLONG:
      return "der Name ist zu lang";
    case EIO:
      return "Ein-/Ausgabefehler des Datenträgers";
    case EBADF:
      return "die Ausgabe ist geschlossen";
    case EPIPE:
      return "die Ausgabe wurde vom Leser geschlossen";
    default:
      return std::strerror(code);
  }
}

bool writeFileAtomically(const fs::path& path, std::string_view bytes, std::string& reason) {
  if (path.empty() || !path.has_filename()) return fail(reason, ENOENT);
  fs::path target = path;
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) return fail(reason, EISDIR);
    if (!S_ISREG(old.st_mode)) return writeInPlace(path, bytes, reason);
    // A link is written through: the file it names is replaced, the link stays.
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
    // The target must be writable now; replacing it by renaming would not ask.
    if (::access(target.c_str(), W_OK) != 0) return fail(reason, errno);
  }

  // The temporary file: a new name in the target's folder, created by this
  // call alone (O_EXCL), with the permissions a new file gets there.
  fs::path temporary;
  int fd = -1;
  for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = temporaryName(target, attempt);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return fail(reason, errno);

  if (exists) {
    // The replacement keeps what the old file had; a user who may not give
    // a file away keeps it as their own.
    (void)::fchmod(fd, old.st_mode & 07777);
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
  int code = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    code = errno;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return fail(reason, code);
  }
  return true;
}

}  // namespace pm
