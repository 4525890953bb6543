#include "Core/File/Profiles.h"

#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/AtomicFile.h"
#include "Core/File/FileManager.h"
#include "Core/File/ReadFile.h"
#include "Core/File/UserDataFileContainer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tinyxml2.h>

namespace file
{
namespace
{
constexpr int kCannotWrite = tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED; // 4

std::string Utf8(const std::wstring& text)
{
    return base::ToNarrow(text, base::kEncodingUtf8);
}

std::wstring NameOf(const tinyxml2::XMLElement* element, const char* attribute)
{
    const char* value = element ? element->Attribute(attribute) : nullptr;
    return value ? base::ToWide(value, base::kEncodingUtf8) : std::wstring();
}

void Log(const std::wstring& format, const std::wstring& a, const std::wstring& b = std::wstring())
{
    base::LogMessage message(*base::MainLog::Instance(), format);
    message % a;
    if (!b.empty())
        message % b;
}

// The file's bytes through the user-data container; false when it cannot be opened or read whole.
bool ReadProfilesFile(std::string& text)
{
    std::unique_ptr<FileInfo> info(UserDataFileContainer::Instance()->FindFile(Profiles::kFileName));
    return info && ReadWholeFile(*info, text);
}
} // namespace

Profiles::~Profiles()
{
    if (mDocument && !mNoSaveAtExit)
        static_cast<void>(Save());
    delete mDocument;
}

std::vector<base::SingletoneBase*> Profiles::GetDependencies()
{
    // The last save at exit reads and writes through the user-data folder and the file manager, and may log.
    return {UserDataFileContainer::Instance(), FileManager::Instance(), base::MainLog::Instance()};
}

void Profiles::MakeFreshDocument()
{
    delete mDocument;
    mDocument = new tinyxml2::XMLDocument();
    mRoot = nullptr;
    mCurrent = nullptr;
}

void Profiles::RemoveStaleTempFiles()
{
    namespace fs = std::filesystem;
    const fs::path folder(base::ToNativePath(UserDataFileContainer::Instance()->GetPath()));
    const std::string prefix = base::ToNarrow(kFileName, base::kEncodingUtf8) + ".tmp-";
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
    {
        const std::string name = entry.path().filename().string();
        // Exactly the names our atomic writer makes, nothing else a player may keep there.
        if (name.size() != prefix.size() + 8 || name.compare(0, prefix.size(), prefix) != 0 ||
            !std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }))
            continue;
        std::error_code entryError;
        if (!entry.is_regular_file(entryError) || entry.is_symlink(entryError))
            continue;
        const auto written = fs::last_write_time(entry.path(), entryError);
        if (entryError || now - written < std::chrono::minutes(1))
            continue;
        if (fs::remove(entry.path(), entryError))
            Log(L"Removed '%s', left behind by a save that did not finish.\n",
                base::ToWide(entry.path().string(), base::kEncodingUtf8));
    }
}

void Profiles::Load()
{
    RemoveStaleTempFiles();
    MakeFreshDocument();
    UserDataFileContainer* folder = UserDataFileContainer::Instance();
    if (!folder->Exists(kFileName))
    {
        // A folder in the file's place makes every save of this session fail at its rename.
        const std::wstring path = folder->GetPath() + kFileName;
        if (FileManager::Instance()->IsDirectory(path))
            Log(L"The profiles file '%s' is a folder: progress of this session cannot be saved until it is "
                L"removed.\n",
                path);
        mRoot = mDocument->NewElement("Profiles");
        mDocument->InsertEndChild(mRoot);
        SelectProfile(kDefaultName);
        return;
    }

    std::string text;
    bool readable = ReadProfilesFile(text);
    if (readable)
    {
        mDocument->Parse(text.data(), text.size());
        // A document without a `Profiles` root is as unusable as one that does not parse.
        readable = !mDocument->Error() && mDocument->FirstChildElement("Profiles") != nullptr;
    }
    if (!readable)
    {
        mCorrupt = true;
        MakeFreshDocument();
        mRoot = mDocument->NewElement("Profiles");
        mDocument->InsertEndChild(mRoot);
        SelectProfile(kDefaultName);
        // The damaged file may still hold the player's progress: keep it before any save can replace it.
        mDamagedInPlace = true;
        KeepDamagedFile();
        return;
    }
    mRoot = mDocument->FirstChildElement("Profiles");
    SelectProfile(NameOf(mRoot, "currentProfile"));
}

bool Profiles::KeepDamagedFile()
{
    if (!mDamagedInPlace)
        return true;
    const std::wstring root = UserDataFileContainer::Instance()->GetPath();
    const std::wstring path = root + kFileName;
    FileManager* files = FileManager::Instance();
    if (!files->Exists(path))
    {
        mDamagedInPlace = false;
        return true;
    }
    // The first free name of "profiles.xml.bad", "profiles.xml.bad2", ...: an older kept file is never
    // replaced.
    for (int i = 1; i < 1000; ++i)
    {
        std::wstring kept = path + L".bad";
        if (i > 1)
            kept += std::to_wstring(i);
        if (files->Exists(kept) || files->IsDirectory(kept))
            continue;
        if (std::rename(base::ToNativePath(path).c_str(), base::ToNativePath(kept).c_str()) != 0)
            break;
        Log(L"The profiles file '%s' cannot be read; it was kept as '%s' and a fresh profile is used.\n",
            path, kept);
        mDamagedInPlace = false;
        return true;
    }
    Log(L"The profiles file '%s' cannot be read and cannot be moved aside; it is not saved over.\n", path);
    return false;
}

int Profiles::Save()
{
    if (!mDocument)
        return kCannotWrite;
    if (!KeepDamagedFile())
    {
        mSaveError = L"the damaged player file cannot be moved aside";
        return kCannotWrite;
    }
    tinyxml2::XMLPrinter printer; // indented output
    mDocument->Print(&printer);
    const std::wstring path = UserDataFileContainer::Instance()->GetPath() + kFileName;
    // CStrSize counts the terminating NUL, which does not belong in the file.
    const int size = printer.CStrSize() > 0 ? printer.CStrSize() - 1 : 0;
    errno = 0;
    if (WriteFileAtomically(path, printer.CStr(), static_cast<unsigned>(size)) != VN_OK)
    {
        const int cause = errno;
        mSaveError = base::ToWide(cause != 0 ? std::strerror(cause) : "the file could not be written",
                                  base::kEncodingUtf8);
        Log(L"Saving the profiles to '%s' failed (%s); the previous file is unchanged.\n", path, mSaveError);
        return kCannotWrite;
    }
    mSaveError.clear();
    return 0;
}

tinyxml2::XMLElement* Profiles::FindProfile(const std::wstring& name) const
{
    if (!mRoot)
        return nullptr;
    for (tinyxml2::XMLElement* p = mRoot->FirstChildElement("Profile"); p;
         p = p->NextSiblingElement("Profile"))
    {
        if (NameOf(p, "name") == name)
            return p;
    }
    return nullptr;
}

std::vector<std::wstring> Profiles::GetNames() const
{
    std::vector<std::wstring> names;
    if (!mRoot)
        return names;
    for (tinyxml2::XMLElement* p = mRoot->FirstChildElement("Profile"); p;
         p = p->NextSiblingElement("Profile"))
        names.push_back(NameOf(p, "name"));
    return names;
}

std::wstring Profiles::GetCurrentName() const
{
    return mCurrent ? NameOf(mCurrent, "name") : std::wstring();
}

void Profiles::SelectProfile(const std::wstring& name)
{
    if (!mRoot)
        Load(); // Load always makes a root before it selects, so this cannot come back here
    if (!mRoot)
        return;
    mCurrent = FindProfile(name);
    if (!mCurrent)
    {
        mCurrent = mDocument->NewElement("Profile");
        mCurrent->SetAttribute("name", Utf8(name).c_str());
        mRoot->InsertEndChild(mCurrent);
    }
    const char* current = mCurrent->Attribute("name");
    mRoot->SetAttribute("currentProfile", current ? current : "");
}

void Profiles::RenameCurrent(const std::wstring& newName)
{
    if (!mCurrent || !mRoot)
        return;
    const std::string name = Utf8(newName);
    mCurrent->SetAttribute("name", name.c_str());
    mRoot->SetAttribute("currentProfile", name.c_str());
}

void Profiles::DeleteProfile(const std::wstring& name)
{
    tinyxml2::XMLElement* p = FindProfile(name);
    if (!p)
        return;
    const bool wasCurrent = p == mCurrent;
    mRoot->DeleteChild(p);
    if (!wasCurrent)
        return;
    mCurrent = nullptr;
    const std::vector<std::wstring> names = GetNames();
    SelectProfile(names.empty() ? std::wstring(kDefaultName) : names.front());
}
} // namespace file
