#pragma once

#include <CLI/CLI.hpp>

// Each command adds its subcommand to the tool; when the subcommand runs it
// stores the tool's exit status, the status code of the operation.
void AddVisEditCommand(CLI::App& app, int* exit_status);
void AddShowCommand(CLI::App& app, int* exit_status);
void AddShowScriptCommand(CLI::App& app, int* exit_status);
void AddAreaKillCommand(CLI::App& app, int* exit_status);
void AddShowIndexCommand(CLI::App& app, int* exit_status);
