#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include "model/codepage.h"

namespace verbanta::cli {

/// The encodings a file can be written in; UTF-16 BE is only ever kept from the file read.
inline const std::vector<std::string> kWritableEncodings = {"cp949", "utf-8", "utf-8-bom",
                                                            "utf-16le"};

/// Adds "--encoding cp949|utf-8|utf-8-bom|utf-16le" (ASCII case ignored) to a subcommand.
inline CLI::Option* addEncodingOption(CLI::App* cmd, std::string& name, const std::string& what)
{
    return cmd->add_option("--encoding", name, what)
        ->check(CLI::IsMember(kWritableEncodings, CLI::ignore_case));
}

/// The encoding named on the command line, or nothing when the option was not given.
inline std::optional<TextEncoding> chosenEncoding(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    return encodingFromName(name);
}

}  // namespace verbanta::cli
