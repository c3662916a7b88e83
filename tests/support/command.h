// Running a program from a test through the shell.
#pragma once

#include <string>

// Runs a shell command with its standard error joined to its output; returns
// its exit status (-1 when it did not exit), its output in *out when given.
int run_command(const std::string &cmd, std::string *out = nullptr);
