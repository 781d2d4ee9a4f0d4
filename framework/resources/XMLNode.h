#pragma once

// XMLNode: one node handed out by XMLParser::ReadNode. A plain record owned
// by the caller and refilled by every read. Besides the node itself it
// carries the path of the enclosing elements ("Level/Layers/Layer"), so
// callers can dispatch on where a node stands without keeping a stack.

#include <map>
#include <string>
#include <vector>

namespace Zorvin {

struct XMLNode {
    enum Type {
        TYPE_NONE = 0,
        TYPE_START = 1,
        TYPE_END = 2,
        TYPE_TEXT = 3,
        TYPE_INSTRUCTION = 4,
        TYPE_COMMENT = 5,
    };

    Type type = TYPE_NONE;
    // Slash-separated names of the open elements when the node was read: the
    // parents for a start node, the parents plus the element itself for an
    // end node, the enclosing element's path for text.
    std::string section;
    // Element name, text, instruction name or comment text.
    std::string value;
    // Everything after an instruction's name up to "?>", or a comment's body.
    std::string instruction;
    // Attribute values by name; a repeated name keeps its last value.
    std::map<std::string, std::string> attributes;
    // Attribute names in the order they first appeared.
    std::vector<std::string> attributeOrder;

    void Clear()
    {
        type = TYPE_NONE;
        section.clear();
        value.clear();
        instruction.clear();
        attributes.clear();
        attributeOrder.clear();
    }

    bool HasAttribute(const std::string& name) const { return attributes.count(name) != 0; }

    // The attribute's value, or an empty string when it is absent.
    const std::string& GetAttribute(const std::string& name) const
    {
        static const std::string empty;
        auto it = attributes.find(name);
        return it == attributes.end() ? empty : it->second;
    }

    // Stores an attribute, remembering the order in which names first came.
    void SetAttribute(const std::string& name, const std::string& val)
    {
        auto [it, inserted] = attributes.insert_or_assign(name, val);
        if (inserted)
            attributeOrder.push_back(name);
    }
};

} // namespace Zorvin
