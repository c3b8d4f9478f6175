#pragma once

// The program-wide services of the start-up module: the program folder, flag
// texts, priority classes, the process search and starting documents.
#include "app/FlagText.h"
#include "app/ProcessPriority.h"
#include "app/ProcessSearch.h"
#include "app/ProgramFolder.h"
#include "app/ShellRun.h"
