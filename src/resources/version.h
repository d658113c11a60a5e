// The program's version, in the one place that the version record, the about box and the build
// (project, installer and portable package) take it from.
#pragma once
#define KELVORA_VERSION_TEXT "3.00"
#define KELVORA_VERSION_NUMBERS 3, 0, 0, 0
