#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// The input as text, and the input cut in two at its first newline.
QString Text(const uint8_t* data, size_t size);
void Split(const uint8_t* data, size_t size, QString& first, QString& rest);
// A prompter that answers every box at once, so a harness never waits for a click.
void AnswerBoxesQuietly();
// Ends the run loudly: a property that must hold did not.
[[noreturn]] void Broken(const char* what);
