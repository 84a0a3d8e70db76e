// EncryptByte and DecryptByte against OpenSSL's DES-CBC on the same 64 MiB and key.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include "cipher/CodePage1252.h"
#include "cipher/clsDES.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>

namespace {

constexpr qsizetype kSize = qsizetype(64) << 20;
const QString kKeyText = QStringLiteral("Pimora!1");

const QByteArray& Plain() {
    static const QByteArray data = [] {
        QByteArray d(kSize, '\0');
        std::mt19937_64 rng(20240);
        for (qsizetype i = 0; i < kSize; i += 8) {
            const auto v = rng();
            std::memcpy(d.data() + i, &v, 8);
        }
        return d;
    }();
    return data;
}

DES_key_schedule OsslSchedule() {
    DES_cblock k;
    std::memcpy(k, CodePage1252::FromUnicode(kKeyText).constData(), 8);
    DES_key_schedule ks;
    DES_set_key_unchecked(&k, &ks);
    return ks;
}

void Ours_EncryptByte(benchmark::State& state) {
    clsDES des;
    des.Key(kKeyText);
    for (auto _ : state) {
        state.PauseTiming();
        QByteArray data(Plain().constData(), Plain().size());
        state.ResumeTiming();
        des.EncryptByte(data);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void Ours_DecryptByte(benchmark::State& state) {
    clsDES des;
    des.Key(kKeyText);
    QByteArray cipher(Plain().constData(), Plain().size());
    des.EncryptByte(cipher);
    for (auto _ : state) {
        state.PauseTiming();
        QByteArray data(cipher.constData(), cipher.size());
        state.ResumeTiming();
        des.DecryptByte(data);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void OpenSsl(benchmark::State& state, int direction) {
    DES_key_schedule ks = OsslSchedule();
    QByteArray out(kSize, '\0');
    for (auto _ : state) {
        DES_cblock iv = {};
        DES_ncbc_encrypt(reinterpret_cast<const unsigned char*>(Plain().constData()),
                         reinterpret_cast<unsigned char*>(out.data()), kSize, &ks, &iv, direction);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void OpenSsl_Encrypt(benchmark::State& state) {
    OpenSsl(state, DES_ENCRYPT);
}
void OpenSsl_Decrypt(benchmark::State& state) {
    OpenSsl(state, DES_DECRYPT);
}

BENCHMARK(OpenSsl_Encrypt)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(Ours_EncryptByte)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(OpenSsl_Decrypt)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(Ours_DecryptByte)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

// Keeps each run's throughput so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const double seconds = run.GetAdjustedRealTime() / 1000.0;
            mbPerSecond[run.benchmark_name()] = double(kSize) / 1e6 / seconds;
        }
    }
    std::map<std::string, double> mbPerSecond;
};

double Rate(const RatioReporter& r, const char* prefix) {
    for (const auto& [name, rate] : r.mbPerSecond) {
        if (name.rfind(prefix, 0) == 0)
            return rate;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double osslEnc = Rate(reporter, "OpenSsl_Encrypt");
    const double osslDec = Rate(reporter, "OpenSsl_Decrypt");
    const double ourEnc = Rate(reporter, "Ours_EncryptByte");
    const double ourDec = Rate(reporter, "Ours_DecryptByte");
    if (osslEnc > 0 && ourEnc > 0)
        std::printf("encrypt: EncryptByte %.1f MB/s, OpenSSL %.1f MB/s, ratio %.2f (target 1.00)\n",
                    ourEnc, osslEnc, ourEnc / osslEnc);
    if (osslDec > 0 && ourDec > 0)
        std::printf("decrypt: DecryptByte %.1f MB/s, OpenSSL %.1f MB/s, ratio %.2f (target 1.50)\n",
                    ourDec, osslDec, ourDec / osslDec);
    return 0;
}
