#pragma once

#include <QtGlobal>

namespace tarvix {

// The priority class numbers that stored settings and the properties dialog
// use: 64 idle, 16384 below normal, 32 normal, 32768 above normal, 128 high,
// 256 real time.
namespace PriorityClass {
enum : qint32 { Idle = 64, BelowNormal = 16384, Normal = 32, AboveNormal = 32768, High = 128, RealTime = 256 };
}

// Priority index 0 (idle) to 5 (real time) to its class; 0 for any other index.
qint32 PriorityClassOf(qint16 index);

// Gives the process the nice value that stands for the class (idle 19 to real
// time -20). False for an unknown class or when the system refuses (raising
// the priority needs privileges).
bool ApplyPriorityClass(qint64 processId, qint32 priorityClass);

}  // namespace tarvix
