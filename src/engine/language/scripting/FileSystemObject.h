#pragma once

#include "dispatch/DispatchClass.h"

namespace tarvix::scripting {

// "Scripting.FileSystemObject": files, folders, path texts and text streams.
class FileSystemObject final : public DispatchClass<FileSystemObject> {
 public:
  static const MemberTable<FileSystemObject>& table();

 private:
  Variant fileExists(Call& c);
  Variant folderExists(Call& c);
  Variant getFile(Call& c);
  Variant getFolder(Call& c);
  Variant createFolder(Call& c);
  Variant deleteFile(Call& c);
  Variant deleteFolder(Call& c);
  Variant copyFile(Call& c);
  Variant moveFile(Call& c);
  Variant copyFolder(Call& c);
  Variant moveFolder(Call& c);
  Variant getFileName(Call& c);
  Variant getBaseName(Call& c);
  Variant getExtensionName(Call& c);
  Variant getParentFolderName(Call& c);
  Variant buildPath(Call& c);
  Variant getAbsolutePathName(Call& c);
  Variant getTempName(Call& c);
  Variant getSpecialFolder(Call& c);
  Variant openTextFile(Call& c);
  Variant createTextFile(Call& c);
};

}  // namespace tarvix::scripting
