#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grelmond {

// The folder of the last bank or patch file named by a full path, kept in
// "grldefault.cfg" so that a later load or save can name a bare file; the
// editor's zoom is kept in the same file, after the folder.
class RememberedFolder {
public:
  static constexpr std::size_t kFileSize = 1024; // the file's size, NUL-terminated folder first
  // Where "zoom=PERCENT" sits, NUL-terminated, when the folder leaves room.
  static constexpr std::size_t kZoomOffset = 1008;

  explicit RememberedFolder(std::string installFolder);

  // The file lives in the installation folder, or in $XDG_CONFIG_HOME/Grelmond
  // (~/.config/Grelmond) when that folder is not writable, as in a system-wide install.
  std::string filePath() const;

  // Nothing when no folder is remembered: no file, an empty one, or one that is not a regular file.
  std::optional<std::string> read() const;
  // False, and nothing remembered, when the file cannot be written or the folder does not fit.
  bool write(std::string_view folder) const;

  // The editor's zoom in percent, 100 to 200; nothing when none is kept.
  std::optional<int> readZoom() const;
  bool writeZoom(int percent) const;

  enum class Use { Load, Save };

  // The path a typed name stands for. A full path is used as it is and its folder
  // remembered; a bare name goes into the remembered folder. With nothing remembered
  // yet the installation folder is remembered, and a load gets no path.
  std::optional<std::string> resolve(std::string_view name, Use use) const;

private:
  std::string configFolder() const;
  std::string readContents() const;
  bool writeContents(std::string_view folder, std::optional<int> zoom) const;

  std::string installFolder_;
};

} // namespace grelmond
