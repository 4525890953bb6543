#pragma once

// Callable objects bound to a member function or a free function. They are heap objects deleted
// through their virtual destructor, which is how a CountedHandle owns them (Reset takes the raw
// pointer, the last handle deletes it).

#include <utility>

namespace base
{

// A callable with no argument.
template <class R>
class Delegate0
{
public:
    // Identity of the callee: the bound object, or the function of a free-function delegate.
    virtual const void* GetObject() const = 0;
    // The stored member-function pointer (its address); null for a free-function delegate.
    virtual const void* GetMethod() const = 0;
    virtual ~Delegate0() = default;
    virtual R Invoke() = 0;
};

// A callable with one argument.
template <class A, class R>
class Delegate1
{
public:
    virtual const void* GetObject() const = 0;
    virtual const void* GetMethod() const = 0;
    virtual ~Delegate1() = default;
    virtual R Invoke(A a) = 0;
};

// A callable with two arguments.
template <class A1, class A2, class R>
class Delegate2
{
public:
    virtual const void* GetObject() const = 0;
    virtual const void* GetMethod() const = 0;
    virtual ~Delegate2() = default;
    virtual R Invoke(A1 a1, A2 a2) = 0;
};

// Calls a member function of C on one object; the object is not owned.
template <class C, class R>
class MemberDelegate0 : public Delegate0<R>
{
public:
    using Method = R (C::*)();

    MemberDelegate0(C* object, Method method) : mMethod(method), mObject(object) {}

    const void* GetObject() const override { return mObject; }
    const void* GetMethod() const override { return mMethod ? &mMethod : nullptr; }
    R Invoke() override { return (mObject->*mMethod)(); }

private:
    Method mMethod;
    C* mObject;
};

template <class C, class A, class R>
class MemberDelegate1 : public Delegate1<A, R>
{
public:
    using Method = R (C::*)(A);

    MemberDelegate1(C* object, Method method) : mMethod(method), mObject(object) {}

    const void* GetObject() const override { return mObject; }
    const void* GetMethod() const override { return mMethod ? &mMethod : nullptr; }
    R Invoke(A a) override { return (mObject->*mMethod)(std::forward<A>(a)); }

private:
    Method mMethod;
    C* mObject;
};

template <class C, class A1, class A2, class R>
class MemberDelegate2 : public Delegate2<A1, A2, R>
{
public:
    using Method = R (C::*)(A1, A2);

    MemberDelegate2(C* object, Method method) : mObject(object), mMethod(method) {}

    const void* GetObject() const override { return mObject; }
    const void* GetMethod() const override { return mMethod ? &mMethod : nullptr; }
    R Invoke(A1 a1, A2 a2) override
    {
        return (mObject->*mMethod)(std::forward<A1>(a1), std::forward<A2>(a2));
    }

private:
    C* mObject;
    Method mMethod;
};

// Calls a free function with two arguments.
template <class A1, class A2, class R>
class StaticDelegate2 : public Delegate2<A1, A2, R>
{
public:
    using Function = R (*)(A1, A2);

    explicit StaticDelegate2(Function function) : mFunction(function) {}

    const void* GetObject() const override { return reinterpret_cast<const void*>(mFunction); }
    const void* GetMethod() const override { return nullptr; }
    R Invoke(A1 a1, A2 a2) override { return mFunction(std::forward<A1>(a1), std::forward<A2>(a2)); }

private:
    Function mFunction;
};

} // namespace base
