#pragma once

#include <vector>

namespace base
{

// An empty base that forbids copying.
class NoCopy
{
public:
    NoCopy() = default;
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;
};

// Base of every singleton. Constructing one registers it; at process exit DestroyAll deletes
// every registered singleton, each before the singletons it depends on.
class SingletoneBase : public NoCopy
{
public:
    SingletoneBase();
    // Unregisters, so a singleton deleted early is not deleted again at exit.
    virtual ~SingletoneBase();

    // The singletons that must outlive this one (they may be created here on demand).
    virtual std::vector<SingletoneBase*> GetDependencies();

    // Records that dependant must be destroyed before dependency.
    static void AddDependency(SingletoneBase* dependant, SingletoneBase* dependency);

    // The exit-time teardown; registered with atexit by the first singleton. Safe to call early
    // (the main function may call it before returning) and more than once.
    static void DestroyAll();

    // The registered singletons in construction order (for diagnostics and tests).
    static std::vector<SingletoneBase*> GetRegistered();
};

// How Singletone<T>::Instance makes the object; specialise it where T needs a factory.
template <class T>
struct SingletoneFactory
{
    static T* Create() { return new T; }
};

// The process-wide instance of T, created on first use and destroyed at exit.
template <class T>
class Singletone : public SingletoneBase
{
public:
    static T* Instance()
    {
        if (sInstance == nullptr)
        {
            T* object = SingletoneFactory<T>::Create();
            sInstance = object;
            sInstanceBase = object;
        }
        return sInstance;
    }

    // True while an instance exists; lets teardown code avoid creating one just to use it.
    static bool Exists() { return sInstance != nullptr; }

protected:
    Singletone() = default;
    // Forgets the instance, so a request after teardown makes a fresh object instead of using a
    // destroyed one.
    ~Singletone() override
    {
        if (sInstanceBase == this)
        {
            sInstance = nullptr;
            sInstanceBase = nullptr;
        }
    }

private:
    static inline T* sInstance = nullptr;
    static inline Singletone* sInstanceBase = nullptr;
};

} // namespace base
