#pragma once

#include <CLI/CLI.hpp>

// Each command adds its subcommand to the tool; when it runs it stores the
// tool's exit status.
void AddCompileCommand(CLI::App& app, int* exit_status);
void AddDecompileCommand(CLI::App& app, int* exit_status);
void AddCheckCommand(CLI::App& app, int* exit_status);
void AddMapCommand(CLI::App& app, int* exit_status);
void AddScoresCommand(CLI::App& app, int* exit_status);
void AddFlyCommand(CLI::App& app, int* exit_status);
