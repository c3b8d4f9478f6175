#pragma once

// The file services the rest of the program shares: file-name surgery,
// project-relative paths, file operations and the file dialog.
#include "app/FileDialog.h"
#include "app/FileOperations.h"
#include "app/PathParts.h"
#include "app/ProjectPaths.h"
