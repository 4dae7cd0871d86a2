#include "Vst3Plugin.h"

#include <cmath>
#include <cstring>

// What --info prints for a VST 3 bundle: what a host reads from it.

namespace host {

using namespace Steinberg;

namespace {

std::string narrowText(const Vst::TChar* text, bool& unterminated)
{
    std::string out;
    std::size_t i = 0;
    for (; i < 128 && text[i] != 0; ++i)
        out += text[i] < 128 ? static_cast<char>(text[i]) : '?';
    unterminated |= i == 128;
    return out;
}

std::string flagNames(int32 flags)
{
    static const std::pair<int32, const char*> names[] = {
        {Vst::ParameterInfo::kCanAutomate, "automate"}, {Vst::ParameterInfo::kIsReadOnly, "read-only"},
        {Vst::ParameterInfo::kIsList, "list"},          {Vst::ParameterInfo::kIsHidden, "hidden"},
        {Vst::ParameterInfo::kIsProgramChange, "program-change"}, {Vst::ParameterInfo::kIsBypass, "bypass"},
    };
    std::string s;
    for (const auto& [bit, name] : names)
        if ((flags & bit) != 0)
            s += std::string(s.empty() ? "" : ",") + name;
    return s.empty() ? "-" : s;
}

} // namespace

bool Vst3Plugin::describe(std::FILE* out)
{
    bool bad = false;
    PFactoryInfo factory{};
    factory_->getFactoryInfo(&factory);
    std::fprintf(out, "Format         VST 3 (%.0f Hz, block %d)\n", sampleRate_, blockSize_);
    std::fprintf(out, "Factory vendor %s\n", factory.vendor);
    void* object = nullptr;
    if (factory_->queryInterface(IPluginFactory2::iid, &object) == kResultOk && object != nullptr) {
        auto* factory2 = static_cast<IPluginFactory2*>(object);
        for (int32 i = 0; i < factory2->countClasses(); ++i) {
            PClassInfo2 info{};
            if (factory2->getClassInfo2(i, &info) != kResultOk)
                continue;
            char id[33];
            FUID(info.cid).toString(id);
            std::fprintf(out, "Class          %s \"%s\" (%s; %s; %s %s; %s)\n", id, info.name, info.category,
                         info.subCategories, info.vendor, info.version, info.sdkVersion);
        }
        factory2->release();
    }

    for (Vst::MediaType type : {Vst::kAudio, Vst::kEvent})
        for (Vst::BusDirection direction : {Vst::kInput, Vst::kOutput}) {
            const int32 count = component_->getBusCount(type, direction);
            std::fprintf(out, "%s %-6s %d bus%s\n", type == Vst::kAudio ? "Audio" : "Event",
                         direction == Vst::kInput ? "in" : "out", count, count == 1 ? "" : "es");
            for (int32 bus = 0; bus < count; ++bus) {
                Vst::BusInfo info{};
                if (component_->getBusInfo(type, direction, bus, info) == kResultOk)
                    std::fprintf(out, "  %d  \"%s\", %d channels%s\n", bus, narrowText(info.name, bad).c_str(),
                                 info.channelCount, info.busType == Vst::kMain ? ", main" : "");
            }
        }
    std::fprintf(out, "32-bit float   %s\n", processor_->canProcessSampleSize(Vst::kSample32) == kResultOk ? "yes" : "no");
    std::fprintf(out, "64-bit float   %s\n", processor_->canProcessSampleSize(Vst::kSample64) == kResultOk ? "yes" : "no");
    std::fprintf(out, "Latency        %u\n", processor_->getLatencySamples());
    std::fprintf(out, "Tail           %u\n", processor_->getTailSamples());
    int width = 0, height = 0;
    if (editorSize(width, height))
        std::fprintf(out, "Editor         %d x %d\n", width, height);

    std::fprintf(out, "\nPrograms (current %d)\n", program());
    for (int p = 0; p < programCount(); ++p)
        std::fprintf(out, "  %3d  %s\n", p, programName(p).c_str());

    std::fprintf(out, "\nParameters\n  %5s  %-24s  %-8s  %-6s  %5s  %-8s  %-10s  %s\n", "id", "title", "short", "units",
                 "steps", "default", "display", "flags");
    for (int32 i = 0; i < controller_->getParameterCount(); ++i) {
        Vst::ParameterInfo info{};
        if (controller_->getParameterInfo(i, info) != kResultOk)
            continue;
        Vst::String128 display{};
        controller_->getParamStringByValue(info.id, controller_->getParamNormalized(info.id), display);
        const bool outOfRange = !(info.defaultNormalizedValue >= 0.0 && info.defaultNormalizedValue <= 1.0);
        bad |= outOfRange;
        std::fprintf(out, "  %5u  %-24s  %-8s  %-6s  %5d  %.6f  %-10s  %s\n", info.id, narrowText(info.title, bad).c_str(),
                     narrowText(info.shortTitle, bad).c_str(), narrowText(info.units, bad).c_str(), info.stepCount,
                     info.defaultNormalizedValue, narrowText(display, bad).c_str(), flagNames(info.flags).c_str());
    }
    return !bad;
}

} // namespace host
