#include "PtyDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <termios.h>
#include <unistd.h>

namespace nkp::sim {
namespace {

constexpr std::uint8_t kProbe = 0x08;
constexpr std::uint8_t kCommand = 0x02;
constexpr std::uint8_t kAnswer = 0xA0;
constexpr double kCharsPerSecond = 9600.0;  // 12-bit characters at 115200 bit/s

using Clock = std::chrono::steady_clock;

}  // namespace

PtyDevice::~PtyDevice()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

bool PtyDevice::open(std::string& error)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = std::string("cannot open ") + slavePath_ + ": " + std::strerror(errno);
        return false;
    }
    termios tio {};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    return true;
}

void PtyDevice::serve(
    const SimOptions& options, const std::vector<std::uint8_t>& image, volatile std::sig_atomic_t& stop)
{
    std::deque<std::uint8_t> out;
    std::mt19937 random(12345);
    bool noise = options.noise;
    // Pacing: bytes may leave no faster than the line's character rate.
    Clock::time_point paceStart = Clock::now();
    std::uint64_t pacedSent = 0;
    // Surplus bytes after the image are made as the line takes them, not
    // all at once: --extra may ask for more than the memory holds.
    std::uint64_t extraLeft = 0, extraIndex = 0;

    while (!stop) {
        if (noise && out.size() < 4096)
            for (int i = 0; i < 4096; ++i) {
                auto b = static_cast<std::uint8_t>(random() & 0xFF);
                out.push_back(b == kAnswer ? 0x5A : b);  // never the probe's answer
            }
        for (; extraLeft > 0 && out.size() < 4096; --extraLeft, ++extraIndex)
            out.push_back(static_cast<std::uint8_t>(0x55 ^ extraIndex));
        pollfd pfd {master_, static_cast<short>(POLLIN | (out.empty() ? 0 : POLLOUT)), 0};
        const int timeout = out.empty() ? 100 : (options.paced ? 2 : 100);
        if (::poll(&pfd, 1, timeout) < 0 && errno != EINTR)
            break;

        std::uint8_t in[512];
        const ssize_t got = ::read(master_, in, sizeof in);
        for (ssize_t i = 0; i < got; ++i) {
            if (options.noAnswer)
                continue;
            if (in[i] == kProbe) {
                noise = false;
                out.clear();
                extraLeft = 0;
                out.push_back(options.probeAnswer);
            } else if (in[i] == kCommand) {
                const std::size_t count = std::min(options.stopAfter.value_or(image.size()), image.size());
                out.insert(out.end(), image.begin(), image.begin() + static_cast<std::ptrdiff_t>(count));
                extraLeft = options.extra;
                extraIndex = 0;
                paceStart = Clock::now();
                pacedSent = 0;
            }
        }

        for (; extraLeft > 0 && out.size() < 4096; --extraLeft, ++extraIndex)
            out.push_back(static_cast<std::uint8_t>(0x55 ^ extraIndex));
        if (out.empty())
            continue;
        std::size_t allowed = out.size();
        if (options.paced) {
            const double seconds = std::chrono::duration<double>(Clock::now() - paceStart).count();
            const auto due = static_cast<std::uint64_t>(seconds * kCharsPerSecond);
            allowed = static_cast<std::size_t>(
                std::min<std::uint64_t>(due > pacedSent ? due - pacedSent : 0, out.size()));
        }
        std::uint8_t chunk[4096];
        const std::size_t n = std::min(allowed, sizeof chunk);
        if (n == 0)
            continue;
        std::copy_n(out.begin(), n, chunk);
        const ssize_t sent = ::write(master_, chunk, n);
        if (sent > 0) {
            out.erase(out.begin(), out.begin() + sent);
            pacedSent += static_cast<std::uint64_t>(sent);
        }
    }
}

}  // namespace nkp::sim
