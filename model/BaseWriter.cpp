#include "model/BaseWriter.h"

#include "common/AtomicFile.h"

#include <algorithm>
#include <climits>
#include <cstring>

std::vector<TBaseRecord> TreeRecords(const TBaseStructure& root)
{
    std::vector<TBaseRecord> records;
    std::vector<const TBaseStructure*> stack;
    // Push children in reverse so that they come off the stack in tree order.
    auto pushChildren = [&stack](const TBaseStructure& e) {
        std::vector<const TBaseStructure*> children;
        for (const TBaseStructure* c = e.ChildElement(); c; c = c->NextElement())
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.push_back(*it);
    };
    pushChildren(root);
    while (!stack.empty()) {
        const TBaseStructure* e = stack.back();
        stack.pop_back();
        records.push_back({e->Level, e->Char, e->Count});
        pushChildren(*e);
    }
    return records;
}

namespace {
struct TCountNode {
    long long Total = 0;
    std::map<std::uint8_t, TCountNode> Children;
};

void Emit(const TCountNode& node, int level, std::vector<TBaseRecord>& records)
{
    std::vector<std::pair<std::uint8_t, const TCountNode*>> order;
    for (const auto& [ch, child] : node.Children)
        order.emplace_back(ch, &child);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        if (a.second->Total != b.second->Total)
            return a.second->Total > b.second->Total;
        return a.first < b.first;
    });
    for (const auto& [ch, child] : order) {
        const long long capped = std::min<long long>(child->Total, INT_MAX);
        records.push_back({level, ch, static_cast<std::int32_t>(capped)});
        Emit(*child, level + 1, records);
    }
}
} // namespace

std::vector<TBaseRecord> RecordsFromCounts(const std::map<std::string, long long>& counts)
{
    TCountNode root;
    for (const auto& [sequence, count] : counts) {
        TCountNode* node = &root;
        node->Total += count;
        for (unsigned char ch : sequence) {
            node = &node->Children[ch];
            node->Total += count;
        }
    }
    std::vector<TBaseRecord> records;
    Emit(root, 1, records);
    return records;
}

std::string EncodeBase(const TKXBaseParameters& header, const std::vector<TBaseRecord>& records)
{
    std::string bytes(BaseFormat::HeaderSize + records.size() * BaseFormat::RecordSize, '\0');
    std::memcpy(bytes.data(), &header, BaseFormat::HeaderSize);
    char* p = bytes.data() + BaseFormat::HeaderSize;
    for (const TBaseRecord& r : records) {
        p[0] = static_cast<char>(static_cast<std::uint8_t>(r.Level) ^ BaseFormat::LevelMask);
        p[1] = static_cast<char>(r.Char ^ BaseFormat::CharMask);
        std::memcpy(p + 2, &r.Count, 4);
        p += BaseFormat::RecordSize;
    }
    return bytes;
}

bool WriteBaseFile(const std::string& path, const TKXBaseParameters& header,
                   const std::vector<TBaseRecord>& records, std::string& error)
{
    return WriteFileAtomically(path, EncodeBase(header, records), error);
}
