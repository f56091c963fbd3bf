#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What the program entry does once its event loop has ended.
namespace ProgramRun {

// The event loop ends with this code when a new display scale was applied:
// the program starts a fresh copy of itself, which reads the new scale.
constexpr int kRestartCode = 1337;

using Starter = std::function<bool(const QString &program, const QStringList &arguments)>;

// Starts `program` with `arguments` through `start` when `exitCode` asks for
// a restart (a failed start is not reported: there is no window left to
// report it in). Returns `exitCode` unchanged, the process's exit code.
int finish(int exitCode, const QString &program, const QStringList &arguments,
           const Starter &start);

} // namespace ProgramRun
