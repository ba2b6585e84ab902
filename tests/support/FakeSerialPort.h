#pragma once

#include "base/Clock.h"
#include "device/SerialPortIo.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nkp::device::test {

// A virtual clock set to 4 March 2026 05:06: sleeps and read timeouts
// advance it, nothing waits.
class VirtualClock : public base::SettableClock {
public:
    VirtualClock()
        : SettableClock(base::DateTime {2026, 3, 4, 5, 6, 0})
    {
    }
    void sleepMs(int milliseconds) override
    {
        SettableClock::sleepMs(milliseconds);
        if (log)
            log->push_back("sleep " + std::to_string(milliseconds));
    }
    std::vector<std::string>* log = nullptr;
};

// How a scripted device behaves on its port.
struct FakeDevice {
    std::optional<std::uint8_t> stream;       // sends this byte endlessly until the probe
    std::optional<std::uint8_t> probeAnswer;  // nothing: the probe gets no reply
    std::vector<std::uint8_t> unsolicited;    // arrives right after the purge
    // After the command byte: pieces of the transfer, each after a pause (ms).
    std::vector<std::pair<int, std::vector<std::uint8_t>>> transfer;
};

// A SerialPortIo over scripted devices and a virtual clock; logs every call.
class FakeSerialPort : public SerialPortIo {
public:
    explicit FakeSerialPort(VirtualClock& clock)
        : clock_(clock)
    {
        clock_.log = &log;
    }
    ~FakeSerialPort() override
    {
        if (clock_.log == &log)
            clock_.log = nullptr;
    }
    FakeSerialPort(const FakeSerialPort&) = delete;
    FakeSerialPort& operator=(const FakeSerialPort&) = delete;

    std::map<std::string, FakeDevice> devices;
    std::vector<std::string> log;
    std::size_t maxChunk = 4096;  // bytes one read hands over at most

    bool open(const std::string& name) override
    {
        log.push_back("open " + name);
        auto it = devices.find(name);
        if (it == devices.end())
            return false;
        device_ = &it->second;
        streaming_ = device_->stream.has_value();
        firstPurge_ = true;
        rx_.clear();
        pending_.clear();
        return true;
    }
    bool isOpen() const override { return device_ != nullptr; }
    void applyLineSettings(const LineSettings& s) override
    {
        log.push_back(s == LineSettings {} ? "line device" : "line other");
    }
    void applyTimeouts(const Timeouts& t) override
    {
        timeouts_ = t;
        log.push_back("timeouts " + std::to_string(t.firstByteWaitMs()));
    }
    void purge() override
    {
        log.push_back("purge");
        rx_.clear();
        if (device_ && firstPurge_)
            rx_.assign(device_->unsolicited.begin(), device_->unsolicited.end());
        firstPurge_ = false;
    }
    std::size_t read(std::uint8_t* buffer, std::size_t maxBytes) override
    {
        if (!device_)
            return 0;
        ++reads;
        if (onRead)
            onRead();
        if (rx_.empty() && streaming_)
            rx_.assign(std::min(maxBytes, maxChunk), *device_->stream);
        long long wait = timeouts_.firstByteWaitMs();
        while (rx_.empty() && !pending_.empty()) {
            auto& [pause, bytes] = pending_.front();
            if (pause > wait) {
                pause -= static_cast<int>(wait);
                break;
            }
            wait -= pause;
            clock_.ms += pause;
            rx_.assign(bytes.begin(), bytes.end());
            pending_.pop_front();
        }
        if (rx_.empty()) {
            clock_.ms += wait;
            return 0;
        }
        const std::size_t n = std::min({maxBytes, rx_.size(), maxChunk});
        std::copy_n(rx_.begin(), n, buffer);
        rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(n));
        bytesRead += n;
        return n;
    }
    std::size_t write(const std::uint8_t* data, std::size_t size) override
    {
        for (std::size_t i = 0; i < size; ++i) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X", data[i]);
            log.push_back(std::string("write ") + hex);
            if (data[i] == 0x08 && device_->probeAnswer) {
                streaming_ = false;
                rx_.push_back(*device_->probeAnswer);
            } else if (data[i] == 0x02) {
                pending_.assign(device_->transfer.begin(), device_->transfer.end());
            }
        }
        return size;
    }
    void restoreLineSettings() override { log.push_back("restore line"); }
    void restoreTimeouts() override { log.push_back("restore timeouts"); }
    void close() override
    {
        if (device_)
            log.push_back("close");
        device_ = nullptr;
    }

    std::function<void()> onRead;  // runs inside every read, as a window's events would
    std::size_t reads = 0;
    std::size_t bytesRead = 0;

private:
    VirtualClock& clock_;
    FakeDevice* device_ = nullptr;
    bool streaming_ = false;
    bool firstPurge_ = false;
    Timeouts timeouts_;
    std::deque<std::uint8_t> rx_;
    std::deque<std::pair<int, std::vector<std::uint8_t>>> pending_;
};

}  // namespace nkp::device::test
