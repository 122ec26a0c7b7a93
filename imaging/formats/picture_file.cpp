#include "imaging/formats/picture_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_codecs.h"

namespace vistrel {
namespace {

struct TFormatEntry {
  const char* ext;
  TFileType type;
  TPictureReader read;
  TPictureWriter write;
};

constexpr TFormatEntry kFormats[] = {
    {"jpg", TFileType::Jpeg, ReadJpeg, WriteJpeg},
    {"jpeg", TFileType::Jpeg, ReadJpeg, WriteJpeg},
    {"jpe", TFileType::Jpeg, ReadJpeg, WriteJpeg},
    {"jp2", TFileType::Jpeg2000, ReadJpeg2000, WriteJp2},
    {"j2k", TFileType::J2kCodeStream, ReadJpeg2000, WriteJ2k},
    {"jpc", TFileType::J2kCodeStream, ReadJpeg2000, WriteJ2k},
    {"j2c", TFileType::J2kCodeStream, ReadJpeg2000, WriteJ2k},
    {"gif", TFileType::Gif, ReadGif, WriteGif},
    {"tif", TFileType::Tiff, ReadTiff, WriteTiff},
    {"tiff", TFileType::Tiff, ReadTiff, WriteTiff},
    {"fax", TFileType::Tiff, ReadTiff, WriteTiff},
    {"g3f", TFileType::Tiff, ReadTiff, WriteTiff},
    {"g3n", TFileType::Tiff, ReadTiff, WriteTiff},
    {"pcx", TFileType::Pcx, ReadPcx, WritePcx},
    {"dcx", TFileType::Dcx, ReadDcx, WriteDcx},
    {"png", TFileType::Png, ReadPng, WritePng},
    {"bmp", TFileType::Bmp, ReadBmp, WriteBmp},
    {"dib", TFileType::Bmp, ReadBmp, WriteBmp},
    {"rle", TFileType::Bmp, ReadBmp, WriteBmp},
    {"wmf", TFileType::Wmf, ReadWmf, nullptr},
    {"emf", TFileType::Emf, ReadEmf, nullptr},
    {"ico", TFileType::Ico, ReadIco, WriteIco},
    {"cur", TFileType::Cur, ReadCur, nullptr},
    {"tga", TFileType::Targa, ReadTarga, WriteTarga},
    {"targa", TFileType::Targa, ReadTarga, WriteTarga},
    {"vda", TFileType::Targa, ReadTarga, WriteTarga},
    {"icb", TFileType::Targa, ReadTarga, WriteTarga},
    {"vst", TFileType::Targa, ReadTarga, WriteTarga},
    {"win", TFileType::Targa, ReadTarga, WriteTarga},
    {"pxm", TFileType::PortableMap, ReadPortableMap, WritePxm},
    {"ppm", TFileType::PortableMap, ReadPortableMap, WritePpm},
    {"pgm", TFileType::PortableMap, ReadPortableMap, WritePgm},
    {"pbm", TFileType::PortableMap, ReadPortableMap, WritePbm},
    {"wbmp", TFileType::Wbmp, ReadWbmp, WriteWbmp},
    {"ps", TFileType::PostScript, nullptr, WritePostScript},
    {"eps", TFileType::PostScript, nullptr, WriteEps},
    {"pdf", TFileType::Pdf, nullptr, WritePdf},
};

// Files larger than this are not read into memory (no picture the program
// accepts needs more).
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t(2) << 30;

std::string LowerExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return ext;
}

const TFormatEntry* FindFormat(const std::string& path) {
  const std::string ext = LowerExtension(path);
  for (const TFormatEntry& f : kFormats)
    if (ext == f.ext) return &f;
  return nullptr;
}

// A file's bytes in pages of their own: not cleared before the file fills
// them, and in large pages where the system has them, so that a large file
// costs a few page faults rather than thousands.
class TFileBytes {
 public:
  explicit TFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FormatError(std::strerror(errno));
    struct Closer {
      int fd;
      ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st{};
    if (fstat(fd, &st) != 0) throw FormatError(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) throw FormatError("Not a regular file");
    if (std::uintmax_t(st.st_size) > kMaxFileBytes) throw FormatError("File too large");
    if (st.st_size == 0) return;
    constexpr std::size_t kLargePage = std::size_t(2) << 20;
    length_ = std::size_t(st.st_size) + kLargePage;
    mapping_ = ::mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) {
      mapping_ = nullptr;
      throw std::bad_alloc();
    }
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(mapping_) + kLargePage - 1) & ~(kLargePage - 1);
    data_ = reinterpret_cast<std::uint8_t*>(start);
    ::madvise(data_, std::size_t(st.st_size), MADV_HUGEPAGE);
    while (size_ < std::size_t(st.st_size)) {
      const ssize_t n = ::read(fd, data_ + size_, std::size_t(st.st_size) - size_);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw FormatError(std::strerror(errno));
      if (n == 0) break;  // the file shrank while we read it
      size_ += std::size_t(n);
    }
  }
  ~TFileBytes() {
    if (mapping_) ::munmap(mapping_, length_);
  }
  TFileBytes(const TFileBytes&) = delete;
  TFileBytes& operator=(const TFileBytes&) = delete;

  TByteSpan Bytes() const { return {data_, size_}; }

 private:
  void* mapping_ = nullptr;
  std::size_t length_ = 0;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// The temporary file's stream writes straight to its descriptor and keeps
// the cause of the first failure: the writers' libraries put their own words
// on a failed write ("Maximum TIFF file size exceeded"), while the user needs
// to read "No space left on device".
struct TFileSink {
  int fd = -1;
  int error = 0;
};

ssize_t SinkWrite(void* cookie, const char* buf, std::size_t size) {
  auto* sink = static_cast<TFileSink*>(cookie);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(sink->fd, buf + done, size - done);
    if (n > 0) {
      done += std::size_t(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (!sink->error) sink->error = n < 0 ? errno : EIO;
      break;
    }
  }
  return ssize_t(done);
}

int SinkSeek(void* cookie, off64_t* offset, int whence) {
  const off64_t at = ::lseek64(static_cast<TFileSink*>(cookie)->fd, *offset, whence);
  if (at < 0) return -1;
  *offset = at;
  return 0;
}

int SinkClose(void* cookie) {
  auto* sink = static_cast<TFileSink*>(cookie);
  const int result = ::close(sink->fd);
  if (result != 0 && !sink->error) sink->error = errno;
  return result;
}

// A file written under a temporary name beside its final one; Commit()
// renames it, otherwise the destructor removes it.
class TAtomicFile {
 public:
  TAtomicFile(const std::string& path, TSaveAccess access) : path_(path) {
    // An existing file is replaced only where the user may write it, and
    // the new one keeps its permissions. A symbolic link is replaced, not
    // followed.
    mode_t keep_mode = 0;
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw PictureFileError("Cannot write " + path + ": " + std::strerror(errno));
      keep_mode = st.st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID);
    }
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    // Nobody chose this folder for this picture: where other users may
    // list it, they do not get to read the picture either.
    struct stat folder{};
    if (keep_mode == 0 && access == TSaveAccess::kPrivateWhereShared &&
        ::stat(dir.empty() ? "." : dir.c_str(), &folder) == 0 &&
        (folder.st_mode & (S_IRGRP | S_IROTH)) != 0)
      keep_mode = 0600;
    for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
      temp_ = dir + "." + base + "." + std::to_string(getpid()) + "-" +
              std::to_string(counter++) + ".tmp";
      const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        break;
      }
      if (keep_mode != 0) ::fchmod(fd, keep_mode);
      sink_.fd = fd;
      file_ = fopencookie(&sink_, "wb", cookie_io_functions_t{nullptr, SinkWrite, SinkSeek, SinkClose});
      if (!file_) ::close(fd), ::unlink(temp_.c_str());
    }
    if (!file_) {
      // Name the error of the final path: a missing folder or no write right.
      const int err = errno;
      throw PictureFileError("Cannot create " + path + ": " + std::strerror(err));
    }
  }
  ~TAtomicFile() {
    if (file_) std::fclose(file_);
    if (!committed_) ::unlink(temp_.c_str());
  }
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  std::FILE* File() const { return file_; }
  // The cause of the first failed write, or 0.
  int WriteError() const { return sink_.error; }

  void Commit() {
    const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    const int err = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed)
      throw PictureFileError("Cannot write " + path_ + ": " + std::strerror(sink_.error ? sink_.error : err));
    if (::rename(temp_.c_str(), path_.c_str()) != 0)
      throw PictureFileError("Cannot create " + path_ + ": " + std::strerror(errno));
    committed_ = true;
  }

 private:
  std::string path_;
  std::string temp_;
  TFileSink sink_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
};

}  // namespace

bool CanLoadPictureFile(const std::string& path) {
  const TFormatEntry* f = FindFormat(path);
  return f && f->read;
}

bool CanSavePictureFile(const std::string& path) {
  const TFormatEntry* f = FindFormat(path);
  return f && f->write;
}

void LoadPictureFile(const std::string& path, TPictureBitmap& picture, TIOParams& params) {
  const TFormatEntry* format = FindFormat(path);
  if (!format || !format->read)
    throw PictureFileError("Unknown picture file type: " + path);
  TPictureBitmap loaded;
  TIOParams found = params;
  try {
    const TFileBytes file(path);
    if (file.Bytes().empty()) throw FormatError("Empty file");
    format->read(file.Bytes(), loaded, found);
  } catch (const std::bad_alloc&) {
    throw PictureFileError("Cannot read " + path + ": Out of memory");
  } catch (const std::exception& e) {
    throw PictureFileError("Cannot read " + path + ": " + e.what());
  }
  if (loaded.Empty()) throw PictureFileError("Cannot read " + path + ": No picture in file");
  found.file_name = path;
  found.file_type = format->type;
  NoteFileColors(found, format->type);
  found.width = loaded.Width();
  found.height = loaded.Height();
  if (found.dpi_x > 0 && found.dpi_y > 0) loaded.SetDpi(found.dpi_x, found.dpi_y);
  picture = std::move(loaded);
  params = std::move(found);
}

void SavePictureFile(const std::string& path, const TPictureBitmap& picture,
                     const TIOParams& params, TSaveAccess access) {
  const TFormatEntry* format = FindFormat(path);
  if (!format || !format->write)
    throw PictureFileError("Unknown picture file type, nothing written: " + path);
  if (picture.Empty()) throw PictureFileError("Cannot write " + path + ": The picture is empty");
  TAtomicFile out(path, access);
  try {
    format->write(out.File(), picture, params);
  } catch (const std::bad_alloc&) {
    throw PictureFileError("Cannot write " + path + ": Out of memory");
  } catch (const std::exception& e) {
    const int err = out.WriteError();
    throw PictureFileError("Cannot write " + path + ": " + (err ? std::strerror(err) : e.what()));
  }
  out.Commit();
}

}  // namespace vistrel
