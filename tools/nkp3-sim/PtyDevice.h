#pragma once

#include "SimOptions.h"

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace nkp::sim {

// The reading device on the master side of a pseudo-terminal: answers the
// probe, sends the image on the command, then falls silent.
class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // Creates the pseudo-terminal; false and `error` on failure.
    bool open(std::string& error);
    // The path a serial program opens, e.g. /dev/pts/3.
    const std::string& path() const { return slavePath_; }

    // Serves readings until `stop` becomes non-zero.
    void serve(
        const SimOptions& options, const std::vector<std::uint8_t>& image, volatile std::sig_atomic_t& stop);

private:
    int master_ = -1;
    // Kept open so that the master never sees a hang-up between readings.
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace nkp::sim
