// The sweep's results as text: the plain table, CSV, JSON, Markdown and an
// HTML page with the chart.
#pragma once

#include <string>

#include "Sweep.h"

namespace sweep {

std::string TableText(const SweepResult& result);
std::string CsvText(const SweepResult& result);
std::string JsonText(const SweepResult& result);
std::string MarkdownText(const SweepResult& result);
std::string HtmlPage(const SweepResult& result, const std::string& svg);

}  // namespace sweep
