// Throughput of our MD5 and payload envelope against OpenSSL on 64 MiB, in
// one run, with the ratios printed at the end (ours / OpenSSL, higher is
// better). Build with -DCMAKE_BUILD_TYPE=Release to measure.

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "net/aes128.h"
#include "net/envelope.h"
#include "net/md5.h"

namespace {

using vantic::AesKey;
using vantic::Bytes;

constexpr std::size_t kSize = 64 * 1024 * 1024;
constexpr AesKey kKey = {0x2b, 0x7e, 0x15, 0x16, 0x28, 0xae, 0xd2, 0xa6,
                         0xab, 0xf7, 0x15, 0x88, 0x09, 0xcf, 0x4f, 0x3c};

const Bytes& Data() {
    static const Bytes data = [] {
        std::mt19937_64 random(64);
        Bytes bytes(kSize);
        for (auto& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        return bytes;
    }();
    return data;
}

void CountBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kSize));
}

void Md5Ours(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantic::Md5Buffer(Data()));
    }
    CountBytes(state);
}

void Md5Openssl(benchmark::State& state) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    for (auto _ : state) {
        EVP_Digest(Data().data(), Data().size(), digest, &size, EVP_md5(), nullptr);
        benchmark::DoNotOptimize(digest);
    }
    CountBytes(state);
}

// OpenSSL's AES-128-CBC over `in`, zero IV, no padding. With `freshBuffer`
// every pass writes a newly allocated buffer, as SealPayload and
// OpenPayload do; otherwise one buffer serves all passes.
void OpensslCbc(benchmark::State& state, bool encrypt, const Bytes& in, bool freshBuffer) {
    Bytes reused(freshBuffer ? 0 : in.size() + 16);
    const unsigned char iv[16] = {};
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    for (auto _ : state) {
        Bytes fresh(freshBuffer ? in.size() + 16 : 0);
        Bytes& out = freshBuffer ? fresh : reused;
        int written = 0;
        EVP_CipherInit_ex(context, EVP_aes_128_cbc(), nullptr, kKey.data(), iv, encrypt ? 1 : 0);
        EVP_CIPHER_CTX_set_padding(context, 0);
        EVP_CipherUpdate(context, out.data(), &written, in.data(), static_cast<int>(in.size()));
        benchmark::DoNotOptimize(out.data());
    }
    EVP_CIPHER_CTX_free(context);
    CountBytes(state);
}

const Bytes& Envelope() {
    static const Bytes envelope = vantic::SealPayload(Data(), kKey);
    return envelope;
}

void EncryptOpenssl(benchmark::State& state, bool freshBuffer) {
    OpensslCbc(state, true, Data(), freshBuffer);
}

void DecryptOpenssl(benchmark::State& state, bool freshBuffer) {
    static const Bytes cipher(Envelope().begin(), Envelope().begin() + kSize);
    OpensslCbc(state, false, cipher, freshBuffer);
}

void SealOurs(benchmark::State& state, bool freshBuffer, bool portable) {
    const vantic::AesCode code = portable ? vantic::AesCode::Portable : vantic::AesCode::Fastest;
    Bytes reused;
    for (auto _ : state) {
        if (freshBuffer) {
            Bytes envelope = vantic::SealPayload(Data(), kKey, code);
            benchmark::DoNotOptimize(envelope.data());
        } else {
            vantic::SealPayloadInto(Data(), kKey, reused, code);
            benchmark::DoNotOptimize(reused.data());
        }
    }
    CountBytes(state);
}

void OpenOurs(benchmark::State& state, bool freshBuffer, bool portable) {
    const vantic::AesCode code = portable ? vantic::AesCode::Portable : vantic::AesCode::Fastest;
    Bytes reused;
    for (auto _ : state) {
        if (freshBuffer) {
            std::optional<Bytes> payload = vantic::OpenPayload(Envelope(), kKey, code);
            benchmark::DoNotOptimize(payload->data());
        } else {
            bool opened = vantic::OpenPayloadInto(Envelope(), kKey, reused, code);
            benchmark::DoNotOptimize(opened);
        }
    }
    CountBytes(state);
}

// Keeps each benchmark's real time per iteration while reporting as usual.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                seconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints throughput(ours) / throughput(theirs); a target of 0 means none.
    void PrintRatio(const char* label, const std::string& ours, const std::string& theirs,
                    double target = 0) const {
        auto a = seconds_.find(ours);
        auto b = seconds_.find(theirs);
        if (a == seconds_.end() || b == seconds_.end() || a->second <= 0) {
            return;
        }
        double ratio = b->second / a->second;
        std::printf("  %-52s %5.2f", label, ratio);
        if (target > 0) {
            std::printf("   target %.2f: %s", target, ratio >= target ? "met" : "NOT met");
        }
        std::printf("\n");
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace

void Register(const char* name, auto function, auto... arguments) {
    benchmark::RegisterBenchmark(name, function, arguments...)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

int main(int argc, char** argv) {
    constexpr bool kFresh = true, kReused = false, kPortable = true, kHardware = false;
    Register("Md5/ours", Md5Ours);
    Register("Md5/openssl", Md5Openssl);
    Register("Seal/ours_reused_buffer", SealOurs, kReused, kHardware);
    Register("Encrypt/openssl_reused_buffer", EncryptOpenssl, kReused);
    Register("Seal/ours_new_buffer", SealOurs, kFresh, kHardware);
    Register("Encrypt/openssl_new_buffer", EncryptOpenssl, kFresh);
    Register("Open/ours_reused_buffer", OpenOurs, kReused, kHardware);
    Register("Decrypt/openssl_reused_buffer", DecryptOpenssl, kReused);
    Register("Open/ours_new_buffer", OpenOurs, kFresh, kHardware);
    Register("Decrypt/openssl_new_buffer", DecryptOpenssl, kFresh);
    Register("Seal/portable_reused_buffer", SealOurs, kReused, kPortable);
    Register("Open/portable_reused_buffer", OpenOurs, kReused, kPortable);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Data();  // built before any timing
    Envelope();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nThroughput ratios, ours / OpenSSL, 64 MiB (AES instructions %s):\n",
                vantic::HardwareAesActive() ? "in use" : "absent");
    reporter.PrintRatio("MD5", "Md5/ours", "Md5/openssl", 0.9);
    reporter.PrintRatio("seal / encrypt, each into a reused buffer", "Seal/ours_reused_buffer",
                        "Encrypt/openssl_reused_buffer", 0.8);
    reporter.PrintRatio("open / decrypt, each into a reused buffer", "Open/ours_reused_buffer",
                        "Decrypt/openssl_reused_buffer", 0.5);
    reporter.PrintRatio("seal / encrypt, each into a new buffer", "Seal/ours_new_buffer",
                        "Encrypt/openssl_new_buffer", 0.8);
    reporter.PrintRatio("open / decrypt, each into a new buffer", "Open/ours_new_buffer",
                        "Decrypt/openssl_new_buffer", 0.5);
    reporter.PrintRatio("SealPayload (new buffer) / encrypt (reused buffer)",
                        "Seal/ours_new_buffer", "Encrypt/openssl_reused_buffer");
    reporter.PrintRatio("OpenPayload (new buffer) / decrypt (reused buffer)",
                        "Open/ours_new_buffer", "Decrypt/openssl_reused_buffer");
    reporter.PrintRatio("portable seal / encrypt (reused buffers)", "Seal/portable_reused_buffer",
                        "Encrypt/openssl_reused_buffer");
    reporter.PrintRatio("portable open / decrypt (reused buffers)", "Open/portable_reused_buffer",
                        "Decrypt/openssl_reused_buffer");
    benchmark::Shutdown();
    return 0;
}
