// Speed of the pattern engine on 1,000,000 file names, beside glibc
// fnmatch(3) on the same names (UTF-8) and the same search patterns.
//
// For every pattern three benchmarks run: IsMatch, MatchAndReplaceFileName
// and fnmatch. At the end a table gives names per second and the ratios
// engine / fnmatch (the goal: IsMatch >= 1, MatchAndReplaceFileName >= 0.5).

#include <benchmark/benchmark.h>
#include <fnmatch.h>

#include <QString>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "matching/clsMatching.h"

using sorvane::clsMatching;

namespace {

constexpr int kNameCount = 1'000'000;

struct PatternCase {
    const char* label;
    QString search;
    QString replace;
    bool whole;
    bool text;
};

// Names of the sort people rename: camera files, documents, Japanese titles,
// numbers and separators, with a common extension; 5 to 60 UTF-16 units.
QStringList makeNames() {
    static const char16_t* const asciiWords[] = {
        u"IMG",     u"DSC",     u"photo",  u"report", u"abc", u"scan",  u"draft", u"final",
        u"Invoice", u"meeting", u"backup", u"copy",   u"v2",  u"track", u"DATA",  u"memo"};
    static const char16_t* const japaneseWords[] = {
        u"写真",   u"旅行", u"会議資料", u"報告書", u"ファイル", u"データ",           u"見積書",
        u"議事録", u"東京", u"大阪",     u"家族",   u"ｶﾞｲﾄﾞ",    u"新しいフォルダー", u"請求書",
        u"音楽",   u"資料"};
    static const char16_t* const separators[] = {u"_", u"-", u" ", u"", u"(", u")", u"."};
    static const char16_t* const extensions[] = {u".jpg",  u".JPG", u".png",  u".txt",  u".pdf",
                                                 u".docx", u".mp4", u".xlsx", u".jpeg", u""};

    std::mt19937 rng(20261207u);
    auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    QStringList names;
    names.reserve(kNameCount);
    QString stem;
    for (int i = 0; i < kNameCount; ++i) {
        const QString ext = QString::fromUtf16(extensions[pick(10)]);
        const int target = 5 + pick(56);
        stem.clear();
        while (stem.size() + ext.size() < target) {
            switch (pick(5)) {
                case 0:
                case 1:
                    stem += QString::fromUtf16(asciiWords[pick(16)]);
                    break;
                case 2:
                    stem += QString::fromUtf16(japaneseWords[pick(16)]);
                    break;
                case 3:
                    stem += QString::number(pick(10000)).rightJustified(1 + pick(4), u'0');
                    break;
                default:
                    stem += QString::fromUtf16(separators[pick(7)]);
                    break;
            }
        }
        stem.truncate(std::max<qsizetype>(1, target - ext.size()));
        names.append(stem + ext);
    }
    return names;
}

const QStringList& names() {
    static const QStringList n = makeNames();
    return n;
}

// The names as NUL-terminated UTF-8, prepared once, outside the timed loops.
const std::vector<std::string>& utf8Names() {
    static const std::vector<std::string> n = [] {
        std::vector<std::string> v;
        v.reserve(size_t(kNameCount));
        for (const QString& s : names()) v.push_back(s.toStdString());
        return v;
    }();
    return n;
}

clsMatching makeMatcher(const PatternCase& c) {
    clsMatching m;
    m.setCmpMode(c.text ? sorvane::CompareMode::Text : sorvane::CompareMode::Exact);
    m.setFileNameMode(c.whole ? sorvane::NameMode::Whole : sorvane::NameMode::Partial);
    m.setMatchPattern(c.search);
    m.setReplacePattern(c.replace);
    return m;
}

std::map<std::string, long> gHits;

void BM_IsMatch(benchmark::State& state, PatternCase c) {
    clsMatching m = makeMatcher(c);
    const QStringList& list = names();
    long hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const QString& name : list) hits += m.IsMatch(QStringView(name)) ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * list.size());
    state.counters["matches"] = double(hits);
    gHits[std::string("IsMatch/") + c.label] = hits;
}

void BM_MatchAndReplace(benchmark::State& state, PatternCase c) {
    clsMatching m = makeMatcher(c);
    if (m.CanReplace().testFlag(sorvane::ReplaceFlag::Unusable)) {
        state.SkipWithError("replace pattern not usable");
        return;
    }
    const QStringList& list = names();
    long hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const QString& name : list) {
            QString n = name;  // shares the data: no copy unless a new name is made
            hits += m.MatchAndReplaceFileName(n) ? 1 : 0;
            benchmark::DoNotOptimize(n);
        }
    }
    state.SetItemsProcessed(state.iterations() * list.size());
    state.counters["matches"] = double(hits);
    gHits[std::string("MatchAndReplaceFileName/") + c.label] = hits;
}

void BM_Fnmatch(benchmark::State& state, PatternCase c) {
    const QString p = c.whole ? c.search : QStringLiteral("*") + c.search + QStringLiteral("*");
    const std::string pattern = p.toStdString();
    const int flags = c.text ? FNM_CASEFOLD : 0;
    const std::vector<std::string>& list = utf8Names();
    long hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const std::string& name : list)
            hits += fnmatch(pattern.c_str(), name.c_str(), flags) == 0 ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * long(list.size()));
    state.counters["matches"] = double(hits);
    gHits[std::string("fnmatch/") + c.label] = hits;
}

// Collects names per second of every benchmark for the table at the end.
class RateReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> rates;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred || r.cpu_accumulated_time <= 0)
                continue;
            rates[r.run_name.function_name] =
                double(r.iterations) * kNameCount / r.cpu_accumulated_time;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    // "?" in fnmatch is one character, as in the engine, only in a UTF-8 locale.
    if (!std::setlocale(LC_ALL, "C.UTF-8"))
        std::fprintf(stderr, "warning: no C.UTF-8 locale; fnmatch compares bytes\n");

    const std::vector<PatternCase> cases = {
        {"*.jpg_whole", QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), true, false},
        {"abc_part", QStringLiteral("abc"), QStringLiteral("xyz"), false, false},
        {"*_*_whole", QStringLiteral("*_*"), QStringLiteral("*-*"), true, false},
        {"IMG_*_whole", QStringLiteral("IMG_*"), QStringLiteral("*"), true, false},
        {"??_part", QStringLiteral("??"), QStringLiteral("xy"), false, false},
        {"写真*_part", QStringLiteral("写真*"), QStringLiteral("photo*"), false, false},
        {"*.JPG_whole_text", QStringLiteral("*.JPG"), QStringLiteral("*.jpg"), true, true},
    };
    for (const PatternCase& c : cases) {
        benchmark::RegisterBenchmark((std::string("IsMatch/") + c.label).c_str(), BM_IsMatch, c)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("MatchAndReplaceFileName/") + c.label).c_str(),
                                     BM_MatchAndReplace, c)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("fnmatch/") + c.label).c_str(), BM_Fnmatch, c)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Build the names before anything is timed.
    std::fprintf(stderr, "preparing %d names...\n", kNameCount);
    (void)utf8Names();

    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-20s %16s %16s %16s %8s %8s\n", "pattern", "IsMatch/s", "Replace/s",
                "fnmatch/s", "IsMatch", "Replace");
    std::printf("%-20s %16s %16s %16s %8s %8s\n", "", "", "", "", "/fnm", "/fnm");
    int mismatches = 0;
    for (const PatternCase& c : cases) {
        const std::string label = c.label;
        const double is = reporter.rates["IsMatch/" + label];
        const double rep = reporter.rates["MatchAndReplaceFileName/" + label];
        const double fn = reporter.rates["fnmatch/" + label];
        if (is <= 0 || fn <= 0) continue;
        std::printf("%-20s %16.0f %16.0f %16.0f %8.2f %8.2f\n", c.label, is, rep, fn, is / fn,
                    rep / fn);
        const long a = gHits["IsMatch/" + label];
        const long b = gHits["fnmatch/" + label];
        if (a != b) {
            ++mismatches;
            std::printf("  note: %ld matches by IsMatch, %ld by fnmatch\n", a, b);
        }
    }
    benchmark::Shutdown();
    return mismatches == 0 ? 0 : 1;
}
