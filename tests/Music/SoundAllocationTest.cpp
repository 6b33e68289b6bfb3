// Allocation failures half-way through building the sound layer's objects: each
// allocation of this thread fails in turn (operator new is replaced in this test
// program) and what was built before it must be freed again: live allocations and
// open descriptors come back to where they were, and the failure is a result code
// or std::bad_alloc, never a crash. The decoder's own memory (malloc) is watched by
// LeakSanitizer in the sanitizer build.
#include <gtest/gtest.h>

#include <dirent.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "Music/SoundChannel.h"
#include "Music/SoundFile.h"
#include "Music/SoundResult.h"
#include "Music/SoundSample.h"
#include "Music/SoundStream.h"
#include "Music/SoundSystem.h"
#include "MusicFixtures.h"
#include "SoundLayerSupport.h"

namespace {

std::atomic<long> g_live(0);      // blocks from operator new not yet deleted
thread_local long t_failIn = -1;  // this thread's allocations until one fails; -1: none fails

void failAllocation(long n)
{
    t_failIn = n;
}

int openDescriptors()
{
    int n = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir))
            ++n;
        ::closedir(dir);
    }
    return n;
}

}  // namespace

void* operator new(std::size_t size)
{
    if (t_failIn >= 0 && t_failIn-- == 0)
        throw std::bad_alloc();
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    ++g_live;
    return block;
}

// The blocks come from malloc above: free is their match, whatever the compiler
// assumes of a delete.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept
{
    if (!block)
        return;
    --g_live;
    std::free(block);
}
#pragma GCC diagnostic pop

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

// The other forms go through the two above, so that every block is counted (and a
// sanitizer's own versions never pair with these).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept
{
    return operator new(size, nothrow);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    operator delete(block);
}

void operator delete[](void* block) noexcept
{
    operator delete(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    operator delete(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    operator delete(block);
}

TEST(SoundAllocation, SystemStartFailingAtEachAllocationLeaksNothing)
{
    const std::string path = musicFixture("sine1k-stereo.mp3");
    for (long n = 0;; ++n) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " fails");
        const long live = g_live;
        const int descriptors = openDescriptors();
        bool playing = false;
        {
            failAllocation(n);
            SoundSystem* created = nullptr;
            int result = SoundSystem::create(&created);
            SystemPtr system(created);
            if (result == SoundResult::Ok)
                result = system->init(4, SoundSystem::InitNoDevice);
            SoundSample* sound = nullptr;
            if (result == SoundResult::Ok)
                result = system->createStream(path.c_str(), SoundSystem::ModeLoopOff, &sound);
            SoundChannel* channel = nullptr;
            if (result == SoundResult::Ok)
                result = system->playSound(SoundSystem::ChannelFree, sound, false, &channel);
            failAllocation(-1);
            if (result == SoundResult::Ok) {
                // Nothing failed: the whole chain works.
                ASSERT_EQ(SoundResult::Ok, system->setClock(500));
                unsigned int position = 0;
                EXPECT_EQ(SoundResult::Ok,
                          channel->getPosition(&position, SoundSystem::TimeUnitMs));
                EXPECT_EQ(500u, position);
                playing = true;
            } else {
                EXPECT_EQ(SoundResult::OutOfMemory, result);
            }
        }
        EXPECT_EQ(live, g_live.load());
        EXPECT_EQ(descriptors, openDescriptors());
        if (playing || HasFailure())
            break;
    }
}

TEST(SoundAllocation, StreamConstructorThrowingHalfWayLeaksNothing)
{
    std::unique_ptr<SoundFile> opened;
    ASSERT_EQ(SoundResult::Ok, SoundFile::open(musicFixture("sine1k-stereo.mp3").c_str(), &opened));
    const std::shared_ptr<const SoundFile> file(std::move(opened));
    std::mutex shared;
    for (long n = 0;; ++n) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " fails");
        const long live = g_live;
        bool built = false;
        try {
            failAllocation(n);
            SoundStream stream(file, 66150, false, shared);
            failAllocation(-1);
            EXPECT_TRUE(stream.isOpen());
            EXPECT_EQ(SoundResult::Ok, stream.restart(0));
            built = true;
        } catch (const std::bad_alloc&) {
            failAllocation(-1);
        }
        EXPECT_EQ(live, g_live.load());
        EXPECT_EQ(1, file.use_count());
        if (built || HasFailure())
            break;
    }
}
