#pragma once

// Runs grelmond-host on the VST 2 library and on the VST 3 bundle and reads
// what they wrote, so tests can hold the two builds to the same samples.

#include <string>
#include <vector>

namespace vst3test {

struct Render {
    int status = -1;
    std::string output; // what the host printed
    int rate = 0;
    std::vector<float> samples; // interleaved stereo
};

const char* vst2Path();
const char* vst3Path();
std::string tempPath(const std::string& name);

// grelmond-host ARGS PLUGIN --render a temporary file.
Render render(const std::string& args, const std::string& plugin);
// grelmond-host ARGS PLUGIN with no output file.
int runHost(const std::string& args, const std::string& plugin, std::string* output = nullptr);

std::vector<char> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<char>& bytes);

// A Standard MIDI File with the messages {seconds, status, data1, data2}.
struct Message {
    double seconds;
    unsigned char status, data1, data2;
};
void writeMidiFile(const std::string& path, const std::vector<Message>& messages);

// Where two renders first differ, as a text for a failure message ("" when equal).
std::string firstDifference(const Render& a, const Render& b);

} // namespace vst3test
