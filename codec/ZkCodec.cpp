#include "vormi/codec/ZkCodec.h"

#include "vormi/codec/HufTree.h"

namespace vormi {

namespace {
constexpr uint8_t kModeEncoding = 1;
constexpr uint8_t kModeDecoding = 2;
}  // namespace

ZkCodec::ZkCodec()
    : Tree{},
      ModeFlags{},
      EncodeWindow{},
      WindowGuard{},
      PendingBits{},
      Reservoir{},
      BitsLeft{},
      Walk{},
      HalvingPeriod{0} {
    ResetForEncoding();
}

void ZkCodec::Done() {}

void ZkCodec::ResetCommon() {
    HufInit(HalvingPeriod, Tree);
    ModeFlags &= static_cast<uint8_t>(~(kModeEncoding | kModeDecoding));
}

void ZkCodec::ResetForEncoding() {
    ResetCommon();
    PendingBits = 0;
    ModeFlags |= kModeEncoding;
}

void ZkCodec::ResetForDecoding() {
    ResetCommon();
    Walk = kHufRoot;
    Reservoir = 0;
    BitsLeft = 0;
    ModeFlags |= kModeDecoding;
}

uint32_t ZkCodec::GetHalveLimit() const { return Tree.HalveLimit; }

int64_t ZkCodec::GetHalvings() const { return static_cast<int64_t>(Tree.Halvings); }

double ZkCodec::GetCodingRatio() const {
    const auto symbols = static_cast<int64_t>(Tree.SymbolCount);
    if (symbols == 0) return 0.0;
    const auto bytes = static_cast<int64_t>(Tree.BitCount.ByteCount);
    return static_cast<double>(static_cast<long double>(bytes) / static_cast<long double>(symbols));
}

}  // namespace vormi
