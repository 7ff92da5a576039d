#pragma once

#include <QStringList>

// brimlet-cli check and outline: the envelope check of one file and its outline, as lines or
// as one JSON document.
namespace EnvelopeCommands {

// args: the arguments after the command's name. Each returns the exit status (Check: 1 when
// it lists problems), or -1 for wrong usage; the reader's refusal is raised as its exception.
int Check(const QStringList &args);
int Outline(const QStringList &args);

} // namespace EnvelopeCommands
