#include "core/TuningControl.h"

#include "engine/TuningExchange.h"

#include <cctype>

namespace grelmond {

namespace {

constexpr std::string_view kEqual = "equal";

bool endsWith(std::string_view name, std::string_view tail) {
    if (name.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - tail.size() + i])) != tail[i]) return false;
    return true;
}

} // namespace

TuningControl::TuningControl(std::string installFolder, TuningExchange& exchange)
    : files_(std::move(installFolder)), exchange_(exchange) {}

bool TuningControl::isTuningName(std::string_view name) {
    return name == kEqual || endsWith(name, ".scl") || endsWith(name, ".kbm");
}

TuningControl::Result TuningControl::load(const char* name) {
    const std::string_view typed = name ? name : "";
    if (typed == kEqual) {
        reset();
        return {true, "Equal temperament."};
    }
    const auto text = files_.read(name);
    if (!text) return {false, "The tuning could not be loaded."};
    std::lock_guard<std::mutex> lock(mutex_);
    const ScalaStatus status = endsWith(typed, ".kbm") ? source_.setMapping(*text) : source_.setScale(*text);
    if (!status.ok()) return {false, "The tuning could not be loaded. " + status.message()};
    publish();
    const std::string description = source_.description();
    return {true, description.empty() ? "Loaded the tuning." : "Loaded the tuning. " + description};
}

void TuningControl::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    source_.reset();
    publish();
}

std::string TuningControl::description() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return source_.description();
}

std::string TuningControl::stateSection() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return source_.stateSection();
}

std::size_t TuningControl::readState(std::string_view text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t start = text.size();
    source_.readStateSection(text, start);
    publish();
    return start;
}

std::size_t TuningControl::splitState(std::string_view text, TuningSource& source) {
    std::size_t start = text.size();
    source.readStateSection(text, start);
    return start;
}

void TuningControl::adopt(const TuningSource& source) {
    std::lock_guard<std::mutex> lock(mutex_);
    source_ = source;
    publish();
}

void TuningControl::publish() { exchange_.publish(source_.table()); }

} // namespace grelmond
