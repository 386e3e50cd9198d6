#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder for one case of the Sceneward host, below the temporary
// folder; removed with everything in it when the case ends. Throws
// std::runtime_error when a file cannot be made or read.
class SceneCaseFolder {
 public:
  explicit SceneCaseFolder(const std::string& case_name);
  ~SceneCaseFolder();
  SceneCaseFolder(const SceneCaseFolder&) = delete;
  SceneCaseFolder& operator=(const SceneCaseFolder&) = delete;

  const std::string& Root() const { return path_; }
  // The full Windows path of `relative` below the folder.
  std::string Path(const std::string& relative) const;
  void MakeFolder(const std::string& relative) const;
  void Write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
  void WriteText(const std::string& relative, const std::string& text) const;
  std::vector<uint8_t> Read(const std::string& relative) const;
  // The names of the files (not folders) in `relative` ("" for the folder itself), sorted.
  std::vector<std::string> FileNames(const std::string& relative) const;

 private:
  std::string path_;
};
