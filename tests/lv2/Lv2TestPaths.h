#pragma once

#include "TempFolder.h"

#include <filesystem>
#include <string>

// The bundle the build assembled, and an LV2_PATH folder that holds only it,
// so that the LV2 tools see nothing else of the build folder.
inline std::string lv2Bundle() { return GRELMOND_LV2_BUNDLE; }

class Lv2PathFolder {
public:
  Lv2PathFolder() {
    std::error_code ignored;
    std::filesystem::create_directory_symlink(lv2Bundle(), folder_.file("Grelmond.lv2"), ignored);
  }
  const std::string& path() const { return folder_.path(); }
  // A command run with LV2_PATH naming this folder, its errors folded into its output.
  std::string command(const std::string& line) const { return "LV2_PATH='" + path() + "' " + line + " 2>&1"; }

private:
  TempFolder folder_;
};
