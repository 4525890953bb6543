#include "Core/File/Linux/FileManagerLinux.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/Paths.h"
#include "Core/Base/StreamCreator.h"
#include "Core/Base/TextEncoding.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file
{
namespace
{
std::string Native(const std::wstring& path)
{
    return base::ToNativePath(base::ToForwardSlashes(path));
}

// 1 a regular file (or anything that is not a folder), 2 a folder, 0 nothing.
int Kind(const std::wstring& path)
{
    if (path.empty())
        return 0;
    struct stat st;
    if (::stat(Native(path).c_str(), &st) != 0)
        return 0;
    return S_ISDIR(st.st_mode) ? 2 : 1;
}

// Calls visit(name, isFolder) for every entry of the folder in the file system's order; false when the
// folder cannot be read.
template <typename Visit>
bool Enumerate(const std::wstring& folder, Visit visit)
{
    const std::string native = folder.empty() ? std::string(".") : Native(folder);
    DIR* dir = ::opendir(native.c_str());
    if (!dir)
        return false;
    while (dirent* entry = ::readdir(dir))
    {
        const std::string name = entry->d_name;
        if (name.empty() || name == "." || name == "..")
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
        {
            struct stat st;
            isFolder = ::stat((native + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        visit(base::ToWide(name, base::kEncodingUtf8), isFolder);
    }
    ::closedir(dir);
    return true;
}

// A folder as the file system knows it, whatever path leads there.
struct FolderId
{
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId&) const = default;
};

// Appends the files of base + sub (and, when recursive, of its subfolders); false when some folder could not
// be read. open holds the folders being listed on the way down: a link back to one of them is passed over,
// so a link cycle cannot list for ever.
bool CollectFiles(const std::wstring& outPrefix, const std::wstring& base, const std::wstring& sub,
                  bool recursive, std::vector<std::wstring>* out, bool relative, std::vector<FolderId>& open)
{
    const std::wstring folder = base + sub;
    if (recursive)
    {
        const std::string native = folder.empty() ? std::string(".") : Native(folder);
        struct stat st;
        if (::stat(native.c_str(), &st) != 0)
            return false;
        const FolderId id{st.st_dev, st.st_ino};
        if (std::find(open.begin(), open.end(), id) != open.end())
            return true;
        open.push_back(id);
    }
    bool complete = true;
    const bool listed = Enumerate(folder,
                                  [&](const std::wstring& name, bool isFolder)
                                  {
                                      if (isFolder)
                                      {
                                          if (recursive && !CollectFiles(outPrefix, base, sub + name + L"/",
                                                                         recursive, out, relative, open))
                                              complete = false;
                                          return;
                                      }
                                      out->push_back(relative ? sub + name : outPrefix + sub + name);
                                  });
    if (recursive)
        open.pop_back();
    return listed && complete;
}
} // namespace

base::Stream* FileManagerLinux::OpenStream(const std::wstring& path)
{
    auto* stream = new base::FileStream();
    if (stream->Open(base::ToForwardSlashes(path), base::FileStream::ModeRead,
                     base::FileStream::OpenExisting) != VN_OK)
    {
        delete stream;
        return nullptr;
    }
    return stream;
}

base::StreamCreator* FileManagerLinux::OpenStreamCreator(const std::wstring& path)
{
    return new base::FileStreamCreator(base::ToForwardSlashes(path), base::FileStream::ModeRead,
                                       base::FileStream::OpenExisting);
}

VNResultEnum FileManagerLinux::SetRootPath(const std::wstring& folder)
{
    return ::chdir(Native(folder).c_str()) == 0 ? VN_OK : VN_FAIL;
}

VNResultEnum FileManagerLinux::RemoveFile(const std::wstring& path)
{
    return ::unlink(Native(path).c_str()) == 0 ? VN_OK : VN_FAIL;
}

VNResultEnum FileManagerLinux::ListLooseFiles(const std::wstring& dir, std::vector<std::wstring>* out)
{
    const std::wstring d = base::NormalizeDirPath(dir);
    std::vector<FolderId> open;
    return CollectFiles(d, d, L"", true, out, true, open) ? VN_OK : VN_FAIL;
}

VNResultEnum MakeDirectory(const std::wstring& path)
{
    return ::mkdir(Native(path).c_str(), 0755) == 0 ? VN_OK : VN_FAIL;
}

VNResultEnum FileManagerLinux::DoListFiles(const std::wstring& outPrefix, const std::wstring& base,
                                           const std::wstring& sub, bool recursive,
                                           std::vector<std::wstring>* out, bool relative)
{
    // Listings of the running game pass over what cannot be read, like missing folders.
    std::vector<FolderId> open;
    CollectFiles(outPrefix, base, sub, recursive, out, relative, open);
    return VN_OK;
}

VNResultEnum FileManagerLinux::DoListDirs(const std::wstring& outPrefix, const std::wstring& base,
                                          const std::wstring& sub, std::vector<std::wstring>* out,
                                          bool relative)
{
    Enumerate(base + sub,
              [&](const std::wstring& name, bool isFolder)
              {
                  if (isFolder)
                      out->push_back(relative ? sub + name : outPrefix + sub + name);
              });
    return VN_OK;
}

bool FileManagerLinux::DoExists(const std::wstring& path, const wchar_t* const* extensions, unsigned count,
                                unsigned* foundIndex)
{
    if (!extensions || count == 0)
        return Kind(path) == 1;
    for (unsigned i = 0; i < count; ++i)
    {
        if (Kind(path + extensions[i]) == 1)
        {
            if (foundIndex)
                *foundIndex = i;
            return true;
        }
    }
    return false;
}

bool FileManagerLinux::DoIsDirectory(const std::wstring& path)
{
    return Kind(path) == 2;
}
} // namespace file
