#pragma once

#include <QString>

#include <initializer_list>

// Index files are removed by their readers; a process ended by a signal never gets there. The
// live index files are listed here, and a terminating signal removes them before the process
// ends as the signal would have ended it.
namespace IndexFileCleanup {

// Adds path to the files removed on a terminating signal; returns a slot for Forget, or -1
// when every slot is taken (the file is then only removed by its owner).
int Remember(const QString &path);
void Forget(int slot);

// Installs the removal for each of the signals, except those the process was started ignoring
// (a "nohup" SIGHUP, an ignored SIGPIPE).
void RemoveOnSignals(std::initializer_list<int> signalNumbers);

// The signals that end a command-line program: interrupt, terminate, hang up, broken pipe.
void RemoveOnTerminatingSignals();

} // namespace IndexFileCleanup
