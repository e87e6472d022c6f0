#include "model/DSStructure.h"

#include <mutex>
#include <new>
#include <vector>

TDSStructure::TDSStructure(TDSStructure* link, int type)
    : Link(link), Next(nullptr), Child(nullptr), Level(0)
{
    if (type == etElement) {
        if (link) {
            Level = link->Level;
            link->Next = this;
        }
    } else if (type == etSubElement) {
        if (!link)
            throw std::logic_error("TDLStructure::TDLStructure - Parent for SubElement NOT defined!");
        Level = link->Level + 1;
        link->Child = this;
    } else {
        throw std::logic_error("TDLStructure::TDLStructure - Incorrect CreatingElementType!");
    }
}

TDSStructure::~TDSStructure()
{
    DestroyChain(Child);
    Child = nullptr;
    DestroyChain(Next);
    Next = nullptr;
    Unlink();
}

void TDSStructure::Unlink()
{
    if (Link) {
        if (Link->Next == this)
            Link->Next = nullptr;
        if (Link->Child == this)
            Link->Child = nullptr;
    }
}

// Siblings are destroyed in a loop rather than each destroying the next, so a
// very long sibling chain cannot exhaust the stack; recursion only follows the
// depth of the tree.
void TDSStructure::DestroyChain(TDSStructure* first)
{
    while (first) {
        TDSStructure* next = first->Next;
        first->Next = nullptr;
        first->Link = nullptr;
        delete first;
        first = next;
    }
}

TDSStructure* TDSStructure::CreateNext()
{
    return new TDSStructure(this, etElement);
}

TDSStructure* TDSStructure::CreateChild()
{
    return new TDSStructure(this, etSubElement);
}

namespace {
// A former next sibling or first child goes on after the element created in
// its place.
TDSStructure* FollowWith(TDSStructure* created, TDSStructure* former)
{
    if (former) {
        created->Next = former;
        former->Link = created;
    }
    return created;
}
} // namespace

TDSStructure* TDSStructure::AddNext()
{
    TDSStructure* former = Next;
    return FollowWith(CreateNext(), former);
}

TDSStructure* TDSStructure::AddChild()
{
    TDSStructure* former = Child;
    return FollowWith(CreateChild(), former);
}

// --- TBaseStructure -------------------------------------------------------

TDSStructure* TBaseStructure::CreateNext()
{
    return new TBaseStructure(this, etElement);
}

TDSStructure* TBaseStructure::CreateChild()
{
    return new TBaseStructure(this, etSubElement);
}

TBaseStructure* TBaseStructure::FindChild(std::uint8_t ch, bool create)
{
    for (TBaseStructure* e = ChildElement(); e; e = e->NextElement())
        if (e->Char == ch)
            return e;
    if (!create)
        return nullptr;
    auto* created = static_cast<TBaseStructure*>(AddChild());
    created->Char = ch;
    return created;
}

int TBaseStructure::SumCounts()
{
    if (!Child)
        return Count;
    long long sum = 0;
    for (TBaseStructure* e = ChildElement(); e; e = e->NextElement())
        sum += e->SumCounts();
    Count = static_cast<std::int32_t>(sum);
    return Count;
}

// --- element pool -----------------------------------------------------------
// Elements are carved from large blocks and recycled through a free list, so a
// tree of a million elements costs one allocation per few thousand elements
// and no per-object allocator overhead. Blocks are kept for the next base.

namespace {
struct TElementPool {
    static constexpr std::size_t SlotSize = sizeof(TBaseStructure);
    static constexpr std::size_t SlotsPerBlock = 8192;

    struct FreeSlot {
        FreeSlot* next;
    };

    std::mutex Mutex;
    FreeSlot* FreeList = nullptr;
    std::vector<unsigned char*> Blocks;

    void* Allocate()
    {
        std::lock_guard lock(Mutex);
        if (!FreeList)
            Grow();
        FreeSlot* slot = FreeList;
        FreeList = slot->next;
        return slot;
    }

    void Release(void* p)
    {
        std::lock_guard lock(Mutex);
        auto* slot = static_cast<FreeSlot*>(p);
        slot->next = FreeList;
        FreeList = slot;
    }

    void Grow()
    {
        auto* block = static_cast<unsigned char*>(
            ::operator new(SlotSize * SlotsPerBlock, std::align_val_t(alignof(TBaseStructure))));
        Blocks.push_back(block);
        for (std::size_t i = SlotsPerBlock; i-- > 0;) {
            auto* slot = reinterpret_cast<FreeSlot*>(block + i * SlotSize);
            slot->next = FreeList;
            FreeList = slot;
        }
    }

    ~TElementPool()
    {
        for (unsigned char* block : Blocks)
            ::operator delete(block, std::align_val_t(alignof(TBaseStructure)));
    }
};

TElementPool& Pool()
{
    static TElementPool pool;
    return pool;
}
} // namespace

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer every element is a plain allocation, so that misuse
// of a destroyed element is caught.
constexpr bool UsePool = false;
#else
constexpr bool UsePool = true;
#endif

void* TBaseStructure::operator new(std::size_t size)
{
    if (!UsePool || size != sizeof(TBaseStructure))
        return ::operator new(size);
    return Pool().Allocate();
}

void TBaseStructure::operator delete(void* p, std::size_t size) noexcept
{
    if (!p)
        return;
    if (!UsePool || size != sizeof(TBaseStructure)) {
        ::operator delete(p);
        return;
    }
    Pool().Release(p);
}
