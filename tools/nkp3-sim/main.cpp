// nkp3-sim: the reading device on a pseudo-terminal. Prints the terminal's
// path as its first line, then serves readings until it is ended.
#include "PtyDevice.h"
#include "SimOptions.h"

#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileLayout.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

bool loadImage(const nkp::sim::SimOptions& options, std::vector<std::uint8_t>& image, std::string& error)
{
    image.assign(nkp::recorder::kImageSize, 0);
    if (!options.imageFile.empty()) {
        std::ifstream in(options.imageFile, std::ios::binary);
        if (!in) {
            error = "cannot open " + options.imageFile;
            return false;
        }
        // A shorter file leaves the rest of the image zero.
        in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
        return true;
    }
    nkp::generator::GeneratorOptions generated;
    generated.seed = options.seed;
    image = nkp::generator::generateImage(generated);
    image.resize(nkp::recorder::kImageSize, 0);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::cout << "nkp3-sim: the reading device on a pseudo-terminal\n" << nkp::sim::kSimUsage << "\n";
        return 0;
    }
    if (first == "--version") {
        std::cout << "nkp3-sim " NKP_VERSION "\n";
        return 0;
    }
    std::string error;
    const auto options = nkp::sim::parseSimOptions(argc, argv, error);
    if (!options) {
        std::cerr << "nkp3-sim: " << error << "\n" << nkp::sim::kSimUsage << "\n";
        return 2;
    }
    std::vector<std::uint8_t> image;
    if (!loadImage(*options, image, error)) {
        std::cerr << "nkp3-sim: " << error << "\n";
        return 1;
    }
    nkp::sim::PtyDevice device;
    if (!device.open(error)) {
        std::cerr << "nkp3-sim: " << error << "\n";
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);
    std::cout << device.path() << std::endl;
    device.serve(*options, image, g_stop);
    return 0;
}
