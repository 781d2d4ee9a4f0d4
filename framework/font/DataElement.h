#pragma once

// DataElement: a value of the font descriptor language. A value is either a
// single word or string (numbers are held as their text) or a list of
// values; lists nest. DescParser builds them while reading commands and
// keeps the ones named by "Define"; each element owns its children.

#include <memory>
#include <string>
#include <vector>

namespace Zorvin {

class DataElement {
public:
    virtual ~DataElement() = default;
    virtual bool IsList() const = 0;
    virtual std::unique_ptr<DataElement> Duplicate() const = 0;
};

class SingleDataElement : public DataElement {
public:
    SingleDataElement() = default;
    SingleDataElement(std::string text, bool isLiteral) : string(std::move(text)), literal(isLiteral) {}

    bool IsList() const override { return false; }
    std::unique_ptr<DataElement> Duplicate() const override
    {
        return std::make_unique<SingleDataElement>(string, literal);
    }

    std::string string;
    // A quoted string or a number stands for itself; any other word is a
    // name that is looked up among the defined values where it is used.
    bool literal = false;
};

class ListDataElement : public DataElement {
public:
    bool IsList() const override { return true; }
    std::unique_ptr<DataElement> Duplicate() const override
    {
        auto copy = std::make_unique<ListDataElement>();
        copy->elements.reserve(elements.size());
        for (const auto& e : elements)
            copy->elements.push_back(e->Duplicate());
        return copy;
    }

    std::vector<std::unique_ptr<DataElement>> elements;
};

} // namespace Zorvin
