// A slow, literal model of the adaptive Huffman tree and of the coded stream,
// kept apart from the production code so the tests can hold the optimised
// codec against it node for node and bit for bit. Every routine follows the
// written steps one by one; none is clever.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vormi/codec/HufTypes.h"

namespace vormi::reference {

struct Node {
    uint32_t Weight;
    uint16_t Link;
};

struct Tree {
    Node Nodes[kHufNodeCount];
    uint16_t LinkTable[512];
    uint32_t HalveLimit;
    uint64_t Halvings;
    uint64_t SymbolCount;
};

void Init(uint32_t limit, Tree& tree);
void Update(uint8_t symbol, Tree& tree);
void Halve(Tree& tree);

struct Stream {
    std::vector<uint8_t> Bytes;  // LSB-first packing, last byte zero-padded
    uint64_t BitLength = 0;      // total code length, padding excluded
    size_t LongestCode = 0;
};

// Codes every byte of source from a fresh tree with the given halving period.
Stream Encode(uint32_t limit, const std::vector<uint8_t>& source);

struct Decoded {
    std::vector<uint8_t> Symbols;
    uint64_t BitsUsed = 0;  // stream bits walked to reach the last symbol
};

// Restores count symbols by walking the tree one stream bit at a time. Stops
// early (fewer symbols) if the bytes run out inside a code.
Decoded Decode(uint32_t limit, const std::vector<uint8_t>& stream, size_t count);

// Empty when the production tree equals the model in every node, in link
// table entries 0..254 and 256..511, and in HalveLimit, Halvings and
// SymbolCount; otherwise a description of the first difference.
std::string FirstDifference(const Tree& model, const HufTree& tree);

}  // namespace vormi::reference
