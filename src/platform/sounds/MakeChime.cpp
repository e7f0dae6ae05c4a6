// Writes the new-order chime as a wave file: MakeChime <output file>.
// Written to a temporary name and renamed, so a program starting meanwhile never finds
// half a file.

#include "Chime.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.wav>\n", argv[0]);
        return 2;
    }
    const std::string target = argv[1];
    const std::string temporary = target + ".tmp";
    const std::string image = chime::WaveFile(chime::Samples(), chime::kSampleRate);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(image.data(), std::streamsize(image.size()));
        if (!out) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::perror(target.c_str());
        return 1;
    }
    return 0;
}
