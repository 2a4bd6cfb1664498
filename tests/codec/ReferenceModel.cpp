#include "ReferenceModel.h"

#include <algorithm>

#include "vormi/testsupport/TreeCompare.h"

namespace vormi::reference {
namespace {

constexpr uint16_t kRoot = 510;

uint32_t Halved(uint32_t weight) { return weight / 2 + 1; }

// Copies a node whole into position q and points its link table entry there.
void Place(Tree& tree, uint16_t q, Node node) {
    tree.Nodes[q] = node;
    tree.LinkTable[node.Link] = q;
}

}  // namespace

void Init(uint32_t limit, Tree& tree) {
    tree = Tree{};
    tree.HalveLimit = limit >= kHufMinHalveLimit ? limit : kHufMinHalveLimit;
    for (uint16_t s = 0; s < 256; ++s) {
        tree.Nodes[s] = {1, static_cast<uint16_t>(256 + s)};
        tree.LinkTable[256 + s] = s;
    }
    for (uint16_t j = 256; j <= kRoot; ++j) {
        const uint16_t pair = j - 256;
        tree.Nodes[j] = {tree.Nodes[2 * pair].Weight + tree.Nodes[2 * pair + 1].Weight, pair};
        tree.LinkTable[pair] = j;
    }
    tree.Halvings = 0;
    tree.SymbolCount = 0;
}

void Update(uint8_t symbol, Tree& tree) {
    if (tree.Nodes[kRoot].Weight >= tree.HalveLimit) {
        Halve(tree);
    }
    tree.Nodes[kRoot].Weight += 1;
    uint16_t n = tree.LinkTable[256 + symbol];
    for (;;) {
        tree.Nodes[n].Weight += 1;
        const uint32_t w = tree.Nodes[n].Weight;
        if (w > tree.Nodes[n + 1].Weight) {
            uint16_t m = n + 1;
            while (tree.Nodes[m + 1].Weight < w) {
                ++m;
            }
            std::swap(tree.Nodes[n], tree.Nodes[m]);
            tree.LinkTable[tree.Nodes[n].Link] = n;
            tree.LinkTable[tree.Nodes[m].Link] = m;
            n = m;
        }
        n = tree.LinkTable[n >> 1];
        if (n == kRoot) {
            break;
        }
    }
    tree.SymbolCount += 1;
}

void Halve(Tree& tree) {
    // Nodes 0 and 1, the two lightest leaves, are halved where they stand.
    tree.Nodes[0].Weight = Halved(tree.Nodes[0].Weight);
    tree.Nodes[1].Weight = Halved(tree.Nodes[1].Weight);

    // Every other leaf, in index order, with its halved weight.
    Node leaves[254];
    int leafCount = 0;
    for (uint16_t i = 2; leafCount < 254; ++i) {
        if (tree.Nodes[i].Link >= 256) {
            leaves[leafCount++] = {Halved(tree.Nodes[i].Weight), tree.Nodes[i].Link};
        }
    }

    tree.Nodes[256] = {tree.Nodes[0].Weight + tree.Nodes[1].Weight, 0};
    uint16_t head = 256;  // first internal node not yet placed
    uint16_t last = 256;  // last internal node created
    uint16_t p = 2;
    int nextLeaf = 0;

    while (nextLeaf < leafCount) {
        const uint16_t c = last + 1;
        // Position p: the internal queue is never empty here (it holds at
        // least the node created by the previous pair).
        if (tree.Nodes[head].Weight < leaves[nextLeaf].Weight) {
            Place(tree, p, tree.Nodes[head++]);
        } else {
            Place(tree, p, leaves[nextLeaf++]);
        }
        // Position p + 1.
        if (head == c) {
            Place(tree, p + 1, leaves[nextLeaf++]);
        } else if (nextLeaf == leafCount) {
            Place(tree, p + 1, tree.Nodes[head++]);
        } else if (tree.Nodes[head].Weight < leaves[nextLeaf].Weight) {
            Place(tree, p + 1, tree.Nodes[head++]);
        } else {
            Place(tree, p + 1, leaves[nextLeaf++]);
        }
        tree.Nodes[c] = {tree.Nodes[p].Weight + tree.Nodes[p + 1].Weight, static_cast<uint16_t>(p / 2)};
        last = c;
        p += 2;
    }

    // Only internal nodes remain; they already stand at p..last in weight order.
    uint16_t c = last;
    while (c > p) {
        tree.LinkTable[tree.Nodes[p].Link] = p;
        tree.LinkTable[tree.Nodes[p + 1].Link] = p + 1;
        tree.Nodes[c + 1] = {tree.Nodes[p].Weight + tree.Nodes[p + 1].Weight, static_cast<uint16_t>(p / 2)};
        c += 1;
        p += 2;
    }
    tree.Halvings += 1;
}

Stream Encode(uint32_t limit, const std::vector<uint8_t>& source) {
    Tree tree;
    Init(limit, tree);
    Stream stream;
    for (uint8_t symbol : source) {
        const std::string code = testsupport::CodeOf(tree, symbol);
        stream.LongestCode = std::max(stream.LongestCode, code.size());
        for (const char bit : code) {
            if (stream.BitLength % 8 == 0) {
                stream.Bytes.push_back(0);
            }
            stream.Bytes.back() |= static_cast<uint8_t>((bit - '0') << (stream.BitLength % 8));
            stream.BitLength += 1;
        }
        Update(symbol, tree);
    }
    return stream;
}

Decoded Decode(uint32_t limit, const std::vector<uint8_t>& stream, size_t count) {
    Tree tree;
    Init(limit, tree);
    Decoded decoded;
    const uint64_t bitsAvailable = uint64_t{8} * stream.size();
    uint16_t pair = kHufRootPair;
    while (decoded.Symbols.size() < count && decoded.BitsUsed < bitsAvailable) {
        const uint64_t k = decoded.BitsUsed++;
        const uint16_t n = 2 * pair + ((stream[k / 8] >> (k % 8)) & 1);
        const uint16_t link = tree.Nodes[n].Link;
        if (link >= kHufLeafLinkBase) {
            const uint8_t symbol = static_cast<uint8_t>(link - kHufLeafLinkBase);
            decoded.Symbols.push_back(symbol);
            Update(symbol, tree);
            pair = kHufRootPair;
        } else {
            pair = link;
        }
    }
    return decoded;
}

std::string FirstDifference(const Tree& model, const HufTree& tree) {
    // The shared comparison formats nothing while the trees are equal, as
    // they usually are: the tests call this after every symbol.
    if (std::string difference = testsupport::FirstTreeDifference(model, tree); !difference.empty()) {
        return difference;
    }
    const auto counter = [](const char* name, uint64_t want, uint64_t got) {
        return std::string(name) + ": expected " + std::to_string(want) + ", got " + std::to_string(got);
    };
    if (model.HalveLimit != tree.HalveLimit) return counter("HalveLimit", model.HalveLimit, tree.HalveLimit);
    if (model.Halvings != tree.Halvings) return counter("Halvings", model.Halvings, tree.Halvings);
    if (model.SymbolCount != tree.SymbolCount) return counter("SymbolCount", model.SymbolCount, tree.SymbolCount);
    return {};
}

}  // namespace vormi::reference
