#pragma once

#include <cstdint>
#include <stdexcept>

enum CreatingElementType { etElement = 0, etSubElement = 1 };

// A general tree element: a chain of siblings (Next), a first child (Child)
// and a back link to the element it was created from (its previous sibling,
// or its parent when it is a first child).
class TDSStructure {
public:
    TDSStructure(TDSStructure* link, int type);
    // Destroys the child subtree and the following siblings.
    virtual ~TDSStructure();

    TDSStructure(const TDSStructure&) = delete;
    TDSStructure& operator=(const TDSStructure&) = delete;

    virtual TDSStructure* CreateNext();
    virtual TDSStructure* CreateChild();

    TDSStructure* AddNext();
    TDSStructure* AddChild();

    TDSStructure* Link;
    TDSStructure* Next;
    TDSStructure* Child;
    std::int32_t Level;

protected:
    static void DestroyChain(TDSStructure* first);
    void Unlink();
};

// The element of a base tree: a character and the number of stored sequences
// that begin with the path from the root to this element.
class TBaseStructure : public TDSStructure {
public:
    TBaseStructure(TBaseStructure* link, int type) : TDSStructure(link, type) {}

    TDSStructure* CreateNext() override;
    TDSStructure* CreateChild() override;

    TBaseStructure* NextElement() const { return static_cast<TBaseStructure*>(Next); }
    TBaseStructure* ChildElement() const { return static_cast<TBaseStructure*>(Child); }
    TBaseStructure* LinkElement() const { return static_cast<TBaseStructure*>(Link); }

    TBaseStructure* FindChild(std::uint8_t ch, bool create);
    int SumCounts();

    // Elements come from a pool: a base holds up to millions of them.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size) noexcept;

    std::uint8_t Char = 0;
    std::int32_t Count = 0;
};
