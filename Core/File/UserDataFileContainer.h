#pragma once

#include "Core/Base/Singleton.h"
#include "Core/File/Linux/UserDataFileContainerLinux.h"

namespace file
{
// The per-user data folder ("log.html", "profiles.xml"), rooted by the application's start-up.
class UserDataFileContainer : public base::Singletone<UserDataFileContainer>,
                              public UserDataFileContainerLinux
{
public:
    // The container's Exists, not the singleton's.
    using UserDataFileContainerLinux::Exists;
    // Every operation goes through the file manager, which therefore outlives this folder.
    std::vector<base::SingletoneBase*> GetDependencies() override;
};
} // namespace file
