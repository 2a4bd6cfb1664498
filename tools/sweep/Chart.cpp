#include "Chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "Markup.h"

namespace sweep {

namespace {

constexpr double kWidth = 1000, kHeight = 880;
constexpr double kLeft = 80, kRight = 730;  // the plots; the legend lies to their right
constexpr double kRatioTop = 70, kRatioBottom = 470;
constexpr double kSpeedTop = 560, kSpeedBottom = 800;
constexpr double kLegendX = 755;

// Tableau's ten colours: distinct, and legible on white.
constexpr const char* kColours[] = {"#4e79a7", "#e15759", "#59a14f", "#f28e2b", "#b07aa1",
                                    "#76b7b2", "#edc948", "#ff9da7", "#9c755f", "#bab0ac"};

std::string Num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Text(double x, double y, const std::string& text, const std::string& attributes = "") {
    return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\"" + (attributes.empty() ? "" : " " + attributes) + ">" +
           Escaped(text) + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const std::string& attributes) {
    return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" + Num(y2) + "\" " +
           attributes + "/>\n";
}

// A short label for a limit: 1280, 20K, 1.3M, 2.1G.
std::string LimitLabel(uint32_t limit) {
    char text[32];
    if (limit < 10000)
        std::snprintf(text, sizeof text, "%u", limit);
    else if (limit < 1000000)
        std::snprintf(text, sizeof text, "%.0fK", limit / 1e3);
    else if (limit < 1000000000)
        std::snprintf(text, sizeof text, "%.1fM", limit / 1e6);
    else
        std::snprintf(text, sizeof text, "%.1fG", limit / 1e9);
    return text;
}

// Axis steps of 1, 2 or 5 times a power of ten, about six to a span.
double NiceStep(double span) {
    const double rough = span / 6;
    const double power = std::pow(10, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= rough) return m * power;
    return 10 * power;
}

struct Axis {
    double Low, High, Step;
};

Axis NiceAxis(double low, double high) {
    if (high - low < 1e-9) {
        low -= 0.05;
        high += 0.05;
    }
    const double step = NiceStep(high - low);
    return {std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step, step};
}

// 1, 2 and 5 times the powers of ten from just below low to just above high.
std::vector<double> LogTicks(double low, double high) {
    std::vector<double> ticks;
    for (double power = std::pow(10, std::floor(std::log10(low))); ticks.empty() || ticks.back() < high; power *= 10)
        for (const double m : {1.0, 2.0, 5.0})
            if (m * power * 2.5 > low && (ticks.empty() || ticks.back() < high)) ticks.push_back(m * power);
    return ticks;
}

class Scale {
public:
    Scale(double low, double high, double from, double to) : Low_(low), High_(high), From_(from), To_(to) {}
    double operator()(double value) const {
        return High_ == Low_ ? (From_ + To_) / 2 : From_ + (value - Low_) / (High_ - Low_) * (To_ - From_);
    }

private:
    double Low_, High_, From_, To_;
};

// The files' names without the folder they all share, for the legend.
std::vector<std::string> ShortNames(const std::vector<FileSummary>& files) {
    std::vector<std::string> names;
    for (const FileSummary& f : files) names.push_back(f.File);
    if (names.empty()) return names;
    size_t common = names[0].rfind('/') == std::string::npos ? 0 : names[0].rfind('/') + 1;
    for (const std::string& name : names)
        while (common > 0 && name.compare(0, common, names[0], 0, common) != 0) {
            const size_t slash = names[0].rfind('/', common - 2);
            common = slash == std::string::npos || common < 2 ? 0 : slash + 1;
        }
    for (std::string& name : names) {
        name = name.substr(common);
        if (name.size() > 26) name = "..." + name.substr(name.size() - 23);
    }
    return names;
}

struct Series {
    std::vector<const Row*> Rows;
};

std::string Polyline(const std::vector<std::pair<double, double>>& points, const std::string& attributes) {
    std::string text = "<polyline " + attributes + " fill=\"none\" points=\"";
    for (size_t i = 0; i < points.size(); ++i)
        text += (i ? " " : "") + Num(points[i].first) + "," + Num(points[i].second);
    return text + "\"/>\n";
}

// Ticks and labels of the logarithmic limit axis under a plot; labels that
// would crowd their left neighbour are left out, the last one always shown.
std::string LimitAxis(const std::vector<uint32_t>& limits, const Scale& x, double bottom) {
    std::string text = Line(kLeft, bottom, kRight, bottom, "stroke=\"#333\"");
    constexpr double kRoom = 42;  // pixels between label centres
    const auto gap = [&](size_t a, size_t b) { return x(std::log(limits[b])) - x(std::log(limits[a])); };
    std::vector<size_t> shown;
    for (size_t i = 0; i < limits.size(); ++i) {
        if (i + 1 == limits.size())
            while (!shown.empty() && gap(shown.back(), i) < kRoom) shown.pop_back();
        if (shown.empty() || gap(shown.back(), i) >= kRoom) shown.push_back(i);
    }
    for (size_t i = 0; i < limits.size(); ++i) {
        const double px = x(std::log(limits[i]));
        text += Line(px, bottom, px, bottom + 5, "stroke=\"#333\"");
    }
    for (const size_t i : shown)
        text += Text(x(std::log(limits[i])), bottom + 19, LimitLabel(limits[i]), "text-anchor=\"middle\"");
    return text;
}

std::string ValueAxis(const Axis& axis, const Scale& y, double top, double bottom, const char* format) {
    std::string text = Line(kLeft, top, kLeft, bottom, "stroke=\"#333\"");
    for (double v = axis.Low; v <= axis.High + axis.Step / 2; v += axis.Step) {
        const double py = y(v);
        text += Line(kLeft, py, kRight, py, "stroke=\"#e6e6e6\"");
        text += Line(kLeft - 5, py, kLeft, py, "stroke=\"#333\"");
        char label[32];
        std::snprintf(label, sizeof label, format, std::fabs(v) < 1e-12 ? 0.0 : v);
        text += Text(kLeft - 9, py + 4, label, "text-anchor=\"end\"");
    }
    return text;
}

}  // namespace

std::string ChartSvg(const SweepResult& result) {
    std::map<std::string, Series> byFile;
    std::vector<uint32_t> limits;
    for (const Row& row : result.Rows) {
        byFile[row.File].Rows.push_back(&row);
        limits.push_back(row.Limit);
    }
    std::sort(limits.begin(), limits.end());
    limits.erase(std::unique(limits.begin(), limits.end()), limits.end());
    const bool timed = result.TimedRuns > 0;

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kWidth) + "\" height=\"" +
                      Num(kHeight) + "\" viewBox=\"0 0 " + Num(kWidth) + " " + Num(kHeight) +
                      "\" font-family=\"sans-serif\" font-size=\"13\" fill=\"#222\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    svg += Text(kWidth / 2, 30, "Coding ratio and codec speed against the halving limit",
                "text-anchor=\"middle\" font-size=\"19\" font-weight=\"bold\"");
    if (limits.empty()) {
        svg += Text(kWidth / 2, kHeight / 2, "nothing was measured", "text-anchor=\"middle\"");
        return svg + "</svg>\n";
    }

    const Scale x(std::log(limits.front()), std::log(limits.back()), kLeft + 20, kRight - 20);
    double low = 1e300, high = -1e300, slowest = 1e300, fastest = 0;
    for (const Row& row : result.Rows) {
        low = std::min(low, row.CodingRatio);
        high = std::max(high, row.CodingRatio);
        for (const std::optional<double>& mbps : {row.PackMbps, row.UnpackMbps}) {
            if (!mbps || *mbps <= 0) continue;
            slowest = std::min(slowest, *mbps);
            fastest = std::max(fastest, *mbps);
        }
    }
    for (const FileSummary& f : result.Files) {
        low = std::min(low, f.EntropyRatio);
        high = std::max(high, f.EntropyRatio);
    }
    const Axis ratioAxis = NiceAxis(low, high);
    const Scale yRatio(ratioAxis.Low, ratioAxis.High, kRatioBottom, kRatioTop);
    // Speeds on a logarithmic axis: runs of zeros code ten times faster than
    // text, and a linear axis would flatten every other line.
    const std::vector<double> speedTicks = LogTicks(fastest > 0 ? slowest : 1, fastest > 0 ? fastest : 10);
    const Scale speedLog(std::log(speedTicks.front()), std::log(speedTicks.back()), kSpeedBottom, kSpeedTop);
    const auto ySpeed = [&](double mbps) { return speedLog(std::log(mbps)); };

    // The top panel: coding ratio, entropy, best points.
    svg += Text(kLeft, kRatioTop - 12, "Coding ratio (coded bytes per source byte; lower is better)",
                "font-weight=\"bold\"");
    svg += ValueAxis(ratioAxis, yRatio, kRatioTop, kRatioBottom, "%.2f");
    svg += LimitAxis(limits, x, kRatioBottom);
    svg += Text((kLeft + kRight) / 2, kRatioBottom + 40, "halving limit (logarithmic scale)", "text-anchor=\"middle\"");
    // The bottom panel: speeds.
    svg += Text(kLeft, kSpeedTop - 12, "Codec speed in memory, MB/s (10^6 bytes per second; higher is better)",
                "font-weight=\"bold\"");
    if (timed) {
        svg += Line(kLeft, kSpeedTop, kLeft, kSpeedBottom, "stroke=\"#333\"");
        for (const double v : speedTicks) {
            const double py = ySpeed(v);
            svg += Line(kLeft, py, kRight, py, "stroke=\"#e6e6e6\"");
            svg += Line(kLeft - 5, py, kLeft, py, "stroke=\"#333\"");
            char label[32];
            std::snprintf(label, sizeof label, "%g", v);
            svg += Text(kLeft - 9, py + 4, label, "text-anchor=\"end\"");
        }
    } else {
        svg += Line(kLeft, kSpeedTop, kLeft, kSpeedBottom, "stroke=\"#333\"");
        svg += Text((kLeft + kRight) / 2, (kSpeedTop + kSpeedBottom) / 2, "not timed (--no-time)",
                    "text-anchor=\"middle\" fill=\"#777\"");
    }
    svg += LimitAxis(limits, x, kSpeedBottom);
    svg += Text((kLeft + kRight) / 2, kSpeedBottom + 40, "halving limit (logarithmic scale)", "text-anchor=\"middle\"");

    const std::vector<std::string> names = ShortNames(result.Files);
    double legendY = kRatioTop + 4;
    svg += Text(kLegendX, legendY, "Files", "font-weight=\"bold\"");
    for (size_t f = 0; f < result.Files.size(); ++f) {
        const FileSummary& file = result.Files[f];
        const std::string colour = kColours[f % std::size(kColours)];
        const std::vector<const Row*>& rows = byFile[file.File].Rows;
        std::vector<std::pair<double, double>> ratio, pack, unpack;
        for (const Row* row : rows) {
            const double px = x(std::log(row->Limit));
            ratio.push_back({px, yRatio(row->CodingRatio)});
            if (row->PackMbps) pack.push_back({px, ySpeed(*row->PackMbps)});
            if (row->UnpackMbps) unpack.push_back({px, ySpeed(*row->UnpackMbps)});
        }
        const double entropyY = yRatio(file.EntropyRatio);
        svg += Line(kLeft, entropyY, kRight, entropyY,
                    "class=\"entropy\" stroke=\"" + colour + "\" stroke-width=\"1.2\" stroke-dasharray=\"6 4\"");
        svg += Polyline(ratio, "class=\"coding\" stroke=\"" + colour + "\" stroke-width=\"2.2\"");
        for (const Row* row : rows) {
            const double px = x(std::log(row->Limit)), py = yRatio(row->CodingRatio);
            if (row->Best)
                svg += "<circle class=\"best\" cx=\"" + Num(px) + "\" cy=\"" + Num(py) +
                       "\" r=\"6\" fill=\"#fff\" stroke=\"" + colour + "\" stroke-width=\"2.5\"/>\n";
            else
                svg += "<circle cx=\"" + Num(px) + "\" cy=\"" + Num(py) + "\" r=\"2.5\" fill=\"" + colour + "\"/>\n";
        }
        if (!pack.empty()) svg += Polyline(pack, "class=\"pack\" stroke=\"" + colour + "\" stroke-width=\"2\"");
        if (!unpack.empty())
            svg += Polyline(unpack,
                            "class=\"unpack\" stroke=\"" + colour + "\" stroke-width=\"2\" stroke-dasharray=\"2 3\"");

        legendY += 22;
        svg += Line(kLegendX, legendY - 4, kLegendX + 24, legendY - 4, "stroke=\"" + colour + "\" stroke-width=\"3\"");
        svg += Text(kLegendX + 32, legendY, names[f]);
    }
    // What the marks mean.
    legendY += 36;
    svg += Text(kLegendX, legendY, "Coding ratio", "font-weight=\"bold\"");
    legendY += 22;
    svg += Line(kLegendX, legendY - 4, kLegendX + 24, legendY - 4, "stroke=\"#555\" stroke-width=\"2.2\"");
    svg += Text(kLegendX + 32, legendY, "at each limit");
    legendY += 22;
    svg += "<circle cx=\"" + Num(kLegendX + 12) + "\" cy=\"" + Num(legendY - 4) +
           "\" r=\"6\" fill=\"#fff\" stroke=\"#555\" stroke-width=\"2.5\"/>\n";
    svg += Text(kLegendX + 32, legendY, "best limit");
    legendY += 22;
    svg += Line(kLegendX, legendY - 4, kLegendX + 24, legendY - 4,
                "stroke=\"#555\" stroke-width=\"1.2\" stroke-dasharray=\"6 4\"");
    svg += Text(kLegendX + 32, legendY, "order-0 entropy / 8 bits");
    double keyY = kSpeedTop + 4;
    svg += Text(kLegendX, keyY, "Speed", "font-weight=\"bold\"");
    keyY += 22;
    svg += Line(kLegendX, keyY - 4, kLegendX + 24, keyY - 4, "stroke=\"#555\" stroke-width=\"2\"");
    svg += Text(kLegendX + 32, keyY, "pack");
    keyY += 22;
    svg += Line(kLegendX, keyY - 4, kLegendX + 24, keyY - 4,
                "stroke=\"#555\" stroke-width=\"2\" stroke-dasharray=\"2 3\"");
    svg += Text(kLegendX + 32, keyY, "unpack");
    return svg + "</svg>\n";
}

}  // namespace sweep
