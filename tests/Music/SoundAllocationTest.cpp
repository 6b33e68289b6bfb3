// Allocation failures half-way through building the sound layer's objects: each
// allocation of this thread fails in turn (operator new is replaced in this test
// program) and what was built before it must be freed again: live allocations and
// open descriptors come back to where they were, and the failure is one line on
// standard error or std::bad_alloc, never a crash. The decoder's own memory (malloc) is watched by
// LeakSanitizer in the sanitizer build.
#include <gtest/gtest.h>

#include <dirent.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "Music/Music.h"
#include "Music/MpegReader.h"
#include "Music/SoundError.h"
#include "Music/SoundStream.h"
#include "MusicFixtures.h"
#include "MusicTestSupport.h"

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

TEST(SoundAllocation, PlayerStartFailingAtEachAllocationLeaksNothing)
{
    const std::string path = musicFixture("sine1k-stereo.mp3");
    for (long n = 0;; ++n) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " fails");
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        const long live = g_live;
        const int descriptors = openDescriptors();
        bool playing = false;
        {
            Music music;
            music.setClock(0);  // no device
            failAllocation(n);
            const bool loaded = music.init() && music.load(path.c_str());
            if (loaded)
                music.play();
            failAllocation(-1);
            music.setClock(500);
            // Nothing failed: the whole chain works.
            playing = loaded && music.getPosition() == 500;
        }
        const long liveAfter = g_live;
        const int descriptorsAfter = openDescriptors();
        testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(live, liveAfter);
        EXPECT_EQ(descriptors, descriptorsAfter);
        for (const std::string& line : linesOf(err)) {
            EXPECT_TRUE(line + "\n" == lineOf(SoundError::OUT_OF_MEMORY) ||
                        line + "\n" == lineOf(SoundError::NOT_PLAYING))
                << line;
        }
        if (playing || HasFailure())
            break;
    }
}

TEST(SoundAllocation, StreamConstructorThrowingHalfWayLeaksNothing)
{
    const auto file = std::make_shared<const SoundFile>(musicFixture("sine1k-stereo.mp3").c_str());
    std::mutex shared;
    for (long n = 0;; ++n) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " fails");
        const long live = g_live;
        bool built = false;
        try {
            failAllocation(n);
            SoundStream stream(file, 66150, shared);
            failAllocation(-1);
            stream.restart(0);
            std::lock_guard<std::mutex> lock(shared);
            built = stream.frame(1000) != nullptr;
        } catch (const std::bad_alloc&) {
            failAllocation(-1);
        }
        EXPECT_EQ(live, g_live.load());
        EXPECT_EQ(1, file.use_count());
        if (built || HasFailure())
            break;
    }
}
