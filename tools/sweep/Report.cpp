#include "Report.h"

#include <vormi/vormi.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <vector>

#include "Limits.h"
#include "Markup.h"

namespace sweep {

namespace {

using Cells = std::vector<std::string>;
using Json = nlohmann::ordered_json;  // fields in the order written

std::string Speed(const std::optional<double>& mbps) {
    if (!mbps) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *mbps);
    return text;
}

std::string Percent(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f%%", value * 100);
    return text;
}

// What the run was: how many pairs ran at once, and how the speeds were taken.
std::string Preamble(const SweepResult& result) {
    std::string text = "vormi-sweep " VORMI_VERSION_STRING ": " + std::to_string(result.Files.size()) + " file" +
                       (result.Files.size() == 1 ? "" : "s") + ", " + std::to_string(result.Rows.size()) + " pairs, " +
                       std::to_string(result.Jobs) + " at a time; ";
    if (result.TimedRuns == 0) return text + "sizes only (--no-time)";
    return text + "codec speed in memory, median of " + std::to_string(result.TimedRuns) + " timed run" +
           (result.TimedRuns == 1 ? "" : "s") + " after one warm-up";
}

const Cells kRowHeader = {"file",         "limit",    "source bytes", "packed bytes", "size ratio",
                          "coding ratio", "halvings", "pack MB/s",    "unpack MB/s",  "best"};
const Cells kFileHeader = {"file", "source bytes", "entropy ratio", "best limit", "coding ratio", "at 1280", "change"};

Cells RowCells(const Row& row) {
    return {row.File,
            std::to_string(row.Limit),
            std::to_string(row.SourceBytes),
            std::to_string(row.PackedBytes),
            row.SizeRatio ? RatioText(*row.SizeRatio) : "n/a",
            RatioText(row.CodingRatio),
            std::to_string(row.Halvings),
            Speed(row.PackMbps),
            Speed(row.UnpackMbps),
            row.Best ? "*" : ""};
}

Cells FileCells(const FileSummary& file) {
    const bool compared = file.DefaultCodingRatio && *file.DefaultCodingRatio > 0;
    return {file.File,
            std::to_string(file.SourceBytes),
            RatioText(file.EntropyRatio),
            std::to_string(file.BestLimit),
            RatioText(file.BestCodingRatio),
            file.DefaultCodingRatio ? RatioText(*file.DefaultCodingRatio) : "-",
            compared ? Percent(file.BestCodingRatio / *file.DefaultCodingRatio - 1) : "-"};
}

// Columns padded to their widest cell: the first (the file) to the left, numbers to the right.
std::string AlignedTable(const std::vector<Cells>& rows) {
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const Cells& row : rows)
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    std::string text;
    for (const Cells& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - row[c].size(), ' ');
            if (c > 0) line += "  ";
            line += c == 0 ? row[c] + pad : pad + row[c];
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += line + "\n";
    }
    return text;
}

std::string MarkdownTable(const std::vector<Cells>& rows) {
    std::string text;
    for (size_t r = 0; r < rows.size(); ++r) {
        std::string line = "|";
        for (const std::string& cell : rows[r]) line += " " + cell + " |";
        text += line + "\n";
        if (r == 0) {
            line = "|";
            for (size_t c = 0; c < rows[0].size(); ++c) line += c == 0 ? "---|" : "---:|";
            text += line + "\n";
        }
    }
    return text;
}

template <typename Item, typename ToCells>
std::vector<Cells> WithHeader(const Cells& header, const std::vector<Item>& items, ToCells toCells) {
    std::vector<Cells> rows{header};
    for (const Item& item : items) rows.push_back(toCells(item));
    return rows;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A ratio as the number its text shows, so that scripts read what the table prints.
Json RatioNumber(long double ratio) { return std::stod(RatioText(ratio)); }

Json SpeedNumber(const std::optional<double>& mbps) { return mbps ? Json(std::stod(Speed(mbps))) : Json(nullptr); }

std::string HtmlTable(const std::vector<Cells>& rows) {
    std::string text = "<table>\n";
    for (size_t r = 0; r < rows.size(); ++r) {
        text += "<tr>";
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const char* tag = r == 0 ? "th" : "td";
            text += std::string("<") + tag + (c == 0 || r == 0 ? "" : " class=\"n\"") + ">" + Escaped(rows[r][c]) +
                    "</" + tag + ">";
        }
        text += "</tr>\n";
    }
    return text + "</table>\n";
}

}  // namespace

std::string TableText(const SweepResult& result) {
    std::string text = Preamble(result) + "\n\n";
    if (result.Rows.empty()) return text + "nothing was measured\n";
    text += AlignedTable(WithHeader(kRowHeader, result.Rows, RowCells));
    text += "\nPer file: the order-0 entropy as a ratio to 8 bits, and the limit that packs it smallest\n\n";
    return text + AlignedTable(WithHeader(kFileHeader, result.Files, FileCells));
}

std::string MarkdownText(const SweepResult& result) {
    std::string text = Preamble(result) + "\n\n";
    if (result.Rows.empty()) return text + "Nothing was measured.\n";
    text += MarkdownTable(WithHeader(kRowHeader, result.Rows, RowCells));
    text += "\nPer file: the order-0 entropy as a ratio to 8 bits, and the limit that packs it smallest.\n\n";
    return text + MarkdownTable(WithHeader(kFileHeader, result.Files, FileCells));
}

std::string CsvText(const SweepResult& result) {
    std::string text =
        "file,limit,source_bytes,packed_bytes,size_ratio,coding_ratio,halvings,pack_mbps,unpack_mbps,best\n";
    for (const Row& row : result.Rows) {
        const Cells cells = RowCells(row);
        text += CsvField(row.File);
        for (size_t c = 1; c < 9; ++c) text += "," + (cells[c] == "-" || cells[c] == "n/a" ? "" : cells[c]);
        text += row.Best ? ",1\n" : ",0\n";
    }
    return text;
}

std::string JsonText(const SweepResult& result) {
    Json json;
    json["program"] = "vormi-sweep";
    json["version"] = VORMI_VERSION_STRING;
    json["concurrency"] = result.Jobs;
    json["timed_runs"] = result.TimedRuns;
    json["rows"] = Json::array();
    for (const Row& row : result.Rows) {
        json["rows"].push_back({
            {"file", row.File},
            {"limit", row.Limit},
            {"source_bytes", row.SourceBytes},
            {"packed_bytes", row.PackedBytes},
            {"size_ratio", row.SizeRatio ? RatioNumber(*row.SizeRatio) : nullptr},
            {"coding_ratio", RatioNumber(row.CodingRatio)},
            {"halvings", row.Halvings},
            {"pack_mbps", SpeedNumber(row.PackMbps)},
            {"unpack_mbps", SpeedNumber(row.UnpackMbps)},
            {"best", row.Best},
        });
    }
    json["files"] = Json::array();
    for (const FileSummary& file : result.Files) {
        json["files"].push_back({
            {"file", file.File},
            {"source_bytes", file.SourceBytes},
            {"entropy_ratio", RatioNumber(file.EntropyRatio)},
            {"best_limit", file.BestLimit},
            {"best_coding_ratio", RatioNumber(file.BestCodingRatio)},
            {"default_coding_ratio", file.DefaultCodingRatio ? RatioNumber(*file.DefaultCodingRatio) : Json(nullptr)},
        });
    }
    json["skipped"] = result.Problems;
    return json.dump(2) + "\n";
}

std::string HtmlPage(const SweepResult& result, const std::string& svg) {
    std::string text =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>vormi-sweep: the halving limit swept</title>\n<style>\n"
        "body { font-family: sans-serif; margin: 2em; color: #222; }\n"
        "table { border-collapse: collapse; margin: 1em 0; font-size: 14px; }\n"
        "th, td { padding: 2px 10px; border-bottom: 1px solid #ddd; text-align: left; }\n"
        "td.n { text-align: right; font-variant-numeric: tabular-nums; }\n"
        "</style>\n</head>\n<body>\n<h1>The halving limit swept</h1>\n<p>" +
        Escaped(Preamble(result)) + "</p>\n";
    text += svg + "\n";
    if (!result.Rows.empty()) {
        text +=
            "<h2>Per file</h2>\n<p>The order-0 entropy as a ratio to 8 bits, and the limit that packs it "
            "smallest.</p>\n";
        text += HtmlTable(WithHeader(kFileHeader, result.Files, FileCells));
        text += "<h2>Every file and limit</h2>\n";
        text += HtmlTable(WithHeader(kRowHeader, result.Rows, RowCells));
    }
    return text + "</body>\n</html>\n";
}

}  // namespace sweep
