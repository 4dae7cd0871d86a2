#include "BundleTurtle.h"

#include "PortPoints.h"
#include "PortSymbols.h"
#include "TurtleText.h"
#include "formats/lv2/PortLayout.h"

#include <cstdio>

namespace grelmond::lv2 {

namespace {

constexpr const char* kPrefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                                  "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                                  "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                                  "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                                  "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
                                  "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                                  "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                                  "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                                  "@prefix rsz: <http://lv2plug.in/ns/ext/resize-port#> .\n"
                                  "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                                  "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
                                  "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                                  "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
                                  "@prefix work: <http://lv2plug.in/ns/ext/worker#> .\n"
                                  "\n";

std::string uri(const std::string& text) { return "<" + text + ">"; }

float programValue(const ProgramBank& programs, int index, ParameterId parameter) {
  const Program* program = programs.program(index);
  return program != nullptr ? program->value(parameter) : parameterInfo(parameter).defaultValue;
}

std::string programName(const ProgramBank& programs, int index) {
  const Program* program = programs.program(index);
  return program != nullptr ? std::string(program->name().c_str()) : std::string();
}

std::string indexedPort(const char* types, int index, const char* symbol, const char* name) {
  char text[256];
  std::snprintf(text, sizeof text, "\t\ta %s ;\n\t\tlv2:index %d ;\n\t\tlv2:symbol \"%s\" ;\n\t\tlv2:name \"%s\"",
                types, index, symbol, name);
  return text;
}

std::string eventPorts() {
  return "[\n" + indexedPort("lv2:InputPort, atom:AtomPort", kEventsPort, "events", "Events") +
         " ;\n\t\tatom:bufferType atom:Sequence ;\n\t\tatom:supports midi:MidiEvent, time:Position ;\n"
         "\t\tlv2:designation lv2:control ;\n\t\trsz:minimumSize 16384\n\t] , [\n" +
         indexedPort("lv2:OutputPort, atom:AtomPort", kNotifyPort, "notify", "Notify") +
         " ;\n\t\tatom:bufferType atom:Sequence ;\n\t\tlv2:designation lv2:control ;\n"
         "\t\trsz:minimumSize 16384\n\t]";
}

std::string audioPorts() {
  return "[\n" + indexedPort("lv2:OutputPort, lv2:AudioPort", kLeftOutPort, "out_l", "Out L") + "\n\t] , [\n" +
         indexedPort("lv2:OutputPort, lv2:AudioPort", kRightOutPort, "out_r", "Out R") + "\n\t]";
}

std::string scalePointList(ParameterId index) {
  std::string text;
  for (const ScalePoint& point : scalePoints(index))
    text += std::string(text.empty() ? " ;\n\t\tlv2:scalePoint " : " ,\n\t\t\t") + "[ rdfs:label " +
            turtleString(point.label) + " ; rdf:value " + turtleNumber(point.value) + " ]";
  return text;
}

} // namespace

std::string BundleTurtle::presetUri(int index) {
  char number[16];
  std::snprintf(number, sizeof number, "%02d", index + 1);
  return std::string(kPresetUriPrefix) + number;
}

std::string BundleTurtle::manifest() const {
  std::string text = kPrefixes;
  text += uri(kPluginUri) + "\n\ta lv2:Plugin, lv2:InstrumentPlugin ;\n\tlv2:binary " + uri(kBinaryName) +
          " ;\n\trdfs:seeAlso " + uri(kPluginFile) + " .\n";
  text += "\n" + uri(kUiUri) + "\n\ta ui:X11UI ;\n\tui:binary " + uri(kUiBinaryName) + " ;\n\trdfs:seeAlso " +
          uri(kPluginFile) + " .\n";
  for (int k = 0; k < ProgramBank::kNumPrograms; ++k)
    text += "\n" + uri(presetUri(k)) + "\n\ta pset:Preset ;\n\tlv2:appliesTo " + uri(kPluginUri) +
            " ;\n\trdfs:seeAlso " + uri(kPresetsFile) + " .\n";
  return text;
}

std::string BundleTurtle::controlPort(ParameterId index) const {
  const std::string symbol = portSymbol(index);
  const std::string name = portName(index);
  std::string text = "[\n" + indexedPort("lv2:InputPort, lv2:ControlPort", kFirstControlPort + index,
                                         symbol.c_str(), name.c_str());
  text += " ;\n\t\tlv2:default " + turtleNumber(programValue(programs_, 0, index)) +
          " ;\n\t\tlv2:minimum 0.0 ;\n\t\tlv2:maximum 1.0";
  if (isToggle(index))
    text += " ;\n\t\tlv2:portProperty lv2:toggled";
  return text + scalePointList(index) + "\n\t]";
}

std::string BundleTurtle::plugin() const {
  std::string text = kPrefixes;
  text += uri(kPluginUri) +
          "\n\ta lv2:Plugin, lv2:InstrumentPlugin, doap:Project ;\n"
          "\tdoap:name \"Grelmond\" ;\n"
          "\tdoap:license <https://spdx.org/licenses/GPL-3.0-or-later> ;\n"
          // The vendor the VST 2 and VST 3 plug-ins name; hosts show it as the author.
          "\tdoap:maintainer [\n\t\tfoaf:name \"Zavr\"\n\t] ;\n"
          "\tlv2:minorVersion 2 ;\n"
          "\tlv2:microVersion 0 ;\n"
          "\tlv2:requiredFeature urid:map ;\n"
          // Without a worker the plug-in plays; only the editor's file commands fail.
          "\tlv2:optionalFeature lv2:hardRTCapable, work:schedule ;\n"
          "\tlv2:extensionData state:interface, work:interface ;\n"
          "\tui:ui " + uri(kUiUri) + " ;\n"
          "\tlv2:port ";
  for (ParameterId index = 0; index < kNumParameters; ++index)
    text += controlPort(index) + " , ";
  return text + eventPorts() + " , " + audioPorts() + " .\n\n" + editor();
}

// The editor: embedded in the host's window, driven by the host's idle calls,
// told of the instrument's notify messages.
std::string BundleTurtle::editor() const {
  return uri(kUiUri) + "\n\ta ui:X11UI ;\n\tlv2:requiredFeature urid:map, ui:parent, ui:idleInterface ;\n"
                       "\tlv2:optionalFeature ui:resize, ui:touch ;\n\tlv2:extensionData ui:idleInterface ;\n"
                       "\tui:portNotification [\n\t\tui:plugin " +
         uri(kPluginUri) + " ;\n\t\tlv2:symbol \"notify\" ;\n\t\tui:notifyType atom:Blank\n\t] .\n";
}

std::string BundleTurtle::preset(int index) const {
  std::string text = uri(presetUri(index)) + "\n\ta pset:Preset ;\n\tlv2:appliesTo " + uri(kPluginUri) +
                     " ;\n\trdfs:label " + turtleString(programName(programs_, index)) + " ;\n\tlv2:port ";
  for (ParameterId p = 0; p < kNumParameters; ++p)
    text += std::string(p == 0 ? "" : " , ") + "[\n\t\tlv2:symbol \"" + portSymbol(p) + "\" ;\n\t\tpset:value " +
            turtleNumber(programValue(programs_, index, p)) + "\n\t]";
  return text + " .\n";
}

std::string BundleTurtle::presets() const {
  std::string text = kPrefixes;
  for (int k = 0; k < ProgramBank::kNumPrograms; ++k)
    text += (k == 0 ? "" : "\n") + preset(k);
  return text;
}

} // namespace grelmond::lv2
