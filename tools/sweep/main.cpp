// vormi-sweep: which halving limit packs which file best, how fast the codec
// runs at each, and how far it stays from the file's order-0 entropy.
#include <unistd.h>
#include <vormi/vormi.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "Chart.h"
#include "Limits.h"
#include "OutputFile.h"
#include "Report.h"
#include "Sources.h"
#include "Sweep.h"

namespace {

// Exit codes: all measured; something skipped; a bad command line.
constexpr int kAllMeasured = 0;
constexpr int kSomethingSkipped = 1;
constexpr int kBadCommandLine = 2;

void Complain(const std::string& message) { std::fprintf(stderr, "vormi-sweep: %s\n", message.c_str()); }

struct Output {
    std::string Path;
    std::string Text;
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Packs every FILE (and every regular file under every FOLDER) at each halving limit and reports the\n"
        "compressed size exactly as 'vormi c' writes it, the size ratio, the coding ratio, the halvings and\n"
        "the codec's speed in memory, with each file's order-0 entropy and the limit that packs it smallest.\n"
        "Every round trip is checked.",
        "vormi-sweep"};
    app.set_version_flag("--version", "vormi-sweep " VORMI_VERSION_STRING);
    app.footer(
        "Exit status: 0 when everything was measured, 1 when a file or an output was skipped, 2 for a bad\n"
        "command line.");

    std::vector<std::string> paths;
    std::string limitsText;
    int repeat = 3;
    bool noTime = false;
    int jobs = 0;
    std::string format = "table";
    std::string outputPath, svgPath, htmlPath;
    app.add_option("PATH", paths, "Files and folders to measure")->required();
    app.add_option("--limits", limitsText,
                   "Halving limits: a list (1280,4096,65536) or a geometric range (1280..1310720x2), or both;\n"
                   "default 1280 and its doublings up to 1310720, and 2147482623")
        ->type_name("LIST");
    app.add_option("--repeat", repeat, "Timed runs per file and limit after one warm-up; the median is reported")
        ->check(CLI::Range(1, 1000))
        ->capture_default_str();
    app.add_flag("--no-time", noTime, "Sizes only, no timing");
    app.add_option("-j,--jobs", jobs,
                   "Measure N files and limits at once (default: the number of processors with --no-time, else 1)")
        ->check(CLI::Range(1, 1024))
        ->type_name("N");
    app.add_option("--format", format, "Output format")
        ->check(CLI::IsMember({"table", "csv", "json", "markdown"}))
        ->capture_default_str();
    app.add_option("-o,--output", outputPath, "Write the output to FILE instead of standard output")->type_name("FILE");
    app.add_option("--svg", svgPath, "Write the chart to FILE (SVG)")->type_name("FILE");
    app.add_option("--html", htmlPath, "Write a page with the tables and the chart to FILE")->type_name("FILE");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kAllMeasured : kBadCommandLine;
    }

    sweep::SweepOptions options;
    options.Limits = sweep::DefaultLimits();
    if (!limitsText.empty()) {
        std::string error;
        if (!sweep::ParseLimits(limitsText, options.Limits, error)) {
            Complain("--limits: " + error);
            return kBadCommandLine;
        }
    }
    options.TimedRuns = noTime ? 0 : repeat;
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    options.Jobs = jobs > 0 ? jobs : noTime ? std::max(processors, 1) : 1;
    options.Progress = isatty(STDERR_FILENO) == 1;

    int status = kAllMeasured;
    // Outputs that cannot be written are known before a long run, not after
    // it; such a one is left out (and its report not sent elsewhere).
    struct Target {
        std::string Path;
        bool Wanted;
    };
    Target output{outputPath, !outputPath.empty()}, chart{svgPath, !svgPath.empty()}, page{htmlPath, !htmlPath.empty()};
    for (Target* target : {&output, &chart, &page}) {
        std::string error;
        if (target->Wanted && !sweep::CanWrite(target->Path, error)) {
            Complain(error);
            status = kSomethingSkipped;
            target->Wanted = false;
        }
    }

    const sweep::Gathered gathered = sweep::GatherSources(paths);
    for (const std::string& note : gathered.Notes) Complain(note);
    for (const std::string& problem : gathered.Problems) Complain(problem);
    if (!gathered.Problems.empty()) status = kSomethingSkipped;

    const sweep::SweepResult result = sweep::RunSweep(gathered.Sources, options);
    for (const std::string& problem : result.Problems) Complain(problem);
    if (!result.Problems.empty()) status = kSomethingSkipped;

    const std::string report = format == "csv"        ? sweep::CsvText(result)
                               : format == "json"     ? sweep::JsonText(result)
                               : format == "markdown" ? sweep::MarkdownText(result)
                                                      : sweep::TableText(result);
    const std::string svg = chart.Wanted || page.Wanted ? sweep::ChartSvg(result) : std::string();
    std::vector<Output> files;
    if (output.Wanted) files.push_back({output.Path, report});
    if (chart.Wanted) files.push_back({chart.Path, svg});
    if (page.Wanted) files.push_back({page.Path, sweep::HtmlPage(result, svg)});
    for (const Output& file : files) {
        std::string error;
        if (!sweep::WriteWhole(file.Path, file.Text, error)) {
            Complain(error);
            status = kSomethingSkipped;
        }
    }
    if (outputPath.empty()) {
        std::fwrite(report.data(), 1, report.size(), stdout);
        if (std::fflush(stdout) != 0) {
            Complain("cannot write the standard output");
            status = kSomethingSkipped;
        }
    }
    return status;
}
