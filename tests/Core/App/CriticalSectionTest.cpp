#include "Core/App/CriticalSection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace
{

TEST(CriticalSection, ExcludesOtherThreads)
{
    app::CriticalSection lock;
    long counter = 0;
    constexpr int kThreads = 4;
    constexpr int kIncrements = 20000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back(
            [&]
            {
                for (int i = 0; i < kIncrements; ++i)
                {
                    lock.Lock();
                    // A read-modify-write split on purpose: without the lock, increments get lost.
                    long value = counter;
                    std::this_thread::yield();
                    counter = value + 1;
                    lock.Unlock();
                }
            });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, static_cast<long>(kThreads) * kIncrements);
}

// Code that holds the platform class excludes code that holds the neutral one: both reach the same mutex.
TEST(CriticalSection, UsableThroughThePlatformBase)
{
    app::CriticalSection lock;
    app::CriticalSectionLinux& platform = lock;
    std::string order;
    lock.Lock();
    std::thread other(
        [&]
        {
            platform.Lock();
            order += 'B';
            platform.Unlock();
        });
    // Long enough for the other thread to reach its Lock; it must wait for ours all the same.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    order += 'A';
    lock.Unlock();
    other.join();
    EXPECT_EQ(order, "AB");
}

} // namespace
