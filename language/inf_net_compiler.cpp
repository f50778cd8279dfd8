#include "language/inf_net_compiler.h"

#include <cfloat>
#include <limits>
#include <vector>

#include "net/params.h"
#include "foundation/fatal_assert.h"
#include "language/compiler_exception.h"
#include "language/refusal_detail.h"
#include "language/help_builder.h"
#include "language/lexer.h"
#include "language/output.h"
#include "net/inf_tax_net.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/rule.h"
#include "retrieval/table.h"
#include "net/taxonomy_class.h"

namespace {

// A number of the source as the 32-bit real the targets store. A value beyond
// the range of float becomes infinite, which every range test refuses, instead
// of overflowing the conversion.
float StoredFloat(double value) {
    if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// The type number of a taxonomy keyword, or -1 for any other token.
int TaxonomyType(TToken kind) {
    switch (kind) {
    case tokHypothesis: return CTaxRoot::kHypothesis;
    case tokHiddenBoth: return CTaxRoot::kHiddenBoth;
    case tokHiddenNo: return CTaxRoot::kHiddenNo;
    case tokHiddenYes: return CTaxRoot::kHiddenYes;
    default: return -1;
    }
}

const char *const kHelpPathParam = "helppath";
const char *const kDefaultHelpPath = "temphtml";

}  // namespace

CInfNetCompiler::CInfNetCompiler(CPInput *input, CPOutput *output)
    : CCompiler(input, output), token(CCompiler::Token()), net(nullptr), table(nullptr), parameters(nullptr) {}

void CInfNetCompiler::SetTargets(CInfTaxNet *targetNet, CTable *targetTable, CParameters *targetParameters) {
    net = targetNet;
    table = targetTable;
    parameters = targetParameters;
}

TToken CInfNetCompiler::Next() {
    token = CCompiler::Next();
    return token;
}

int CInfNetCompiler::Compile() {
    QV_ASSERT(net != nullptr && table != nullptr && parameters != nullptr, "inf_net_compiler");
    if (beforeCompile) beforeCompile(*this);
    int result = 0;
    try {
        CompileSource();
    } catch (const CCompilerException &error) {
        ReportError(error);
        result = 2;
    }
    if (afterCompile) afterCompile(*this);
    return result;
}

void CInfNetCompiler::ReportError(const CCompilerException &error) {
    CString line("[Error at line ");
    line.Append(Line());
    line.Append("] ");
    line.Append(error.Message());
    output->WriteLine(line.Text());
    CDiagnostic found;
    found.message = error.Message().Text();
    found.place = error.Place() ? *error.Place() : Here();
    found.detail = error.Place() ? error.Detail() : FoundText(token, Text());
    output->WriteLine(DetailLine(found, Line()).c_str());
    diagnostic = std::move(found);
}

void CInfNetCompiler::RefuseNode(const CString &name, const CSourcePlace &namePlace, const NodeType &type,
                                 const CSourcePlace &priorPlace) {
    const char *message = "cannot add this node (already exists?)";
    if (name.IsEmpty()) ErrorAt(message, namePlace, "a node needs a name");
    const CNode *existing = net->FindNode(name);
    if (const int32_t earlier = AddedLine(nodeLines, net->nodes, [existing](const CNode *node) { return node == existing; }))
        ErrorAt(message, namePlace, AlreadyDefined("\"" + std::string(name.Text()) + "\"", earlier));
    if (!type.logical) ErrorAt(message, priorPlace, OutsideZeroToOne("the prior", type.prior));
    Error(message);
}

void CInfNetCompiler::RefuseArrow(const char *message, const Arrow &arrow, const char *kind) {
    const CNode *source = net->FindNode(arrow.source);
    const CNode *target = net->FindNode(arrow.target);
    if (source == nullptr) ErrorAt(message, arrow.sourcePlace, NoNodeNamed(arrow.source.Text()));
    if (target == nullptr) ErrorAt(message, arrow.targetPlace, NoNodeNamed(arrow.target.Text()));
    const auto joins = [source, target](const auto *edge) { return edge->source == source && edge->target == target; };
    const bool isRule = std::string(kind) == "rule";
    const int32_t earlier = isRule ? AddedLine(ruleLines, net->rules, joins) : AddedLine(linkLines, net->links, joins);
    if (earlier != 0)
        ErrorAt(message, arrow.sourcePlace,
                AlreadyDefined(std::string("a ") + kind + " from \"" + arrow.source.Text() + "\" to \"" +
                                   arrow.target.Text() + "\"",
                               earlier));
    if (!IsZeroToOne(arrow.first)) ErrorAt(message, arrow.firstPlace, OutsideZeroToOne(FirstName(kind), arrow.first));
    if (!IsZeroToOne(arrow.second))
        ErrorAt(message, arrow.secondPlace, OutsideZeroToOne(SecondName(kind), arrow.second));
    Error(message);
}

void CInfNetCompiler::CompileSource() {
    token = CCompiler::Token();
    nodeLines.first = net->nodes.Count();
    ruleLines.first = net->rules.Count();
    linkLines.first = net->links.Count();
    if (token == tokEnd) Error("no definition found");
    // Settled before the knowledge base's own statements: the first value of a
    // parameter wins, so a `setparam` of the help path cannot move the pages.
    if (!parameters->HasParam(kHelpPathParam)) parameters->SetParam(kHelpPathParam, kDefaultHelpPath);
    if (onHelpDirectory) onHelpDirectory(*this, parameters->GetParam(kHelpPathParam));
    if (token == tokNet) ReadNetBlock();
    while (token != tokEnd) ReadSection();
}

// ---------------------------------------------------------------- net block

void CInfNetCompiler::ReadNetBlock() {
    OpenBlock();
    for (;;) {
        switch (token) {
        case tokSetParam: ReadSetParam(); break;
        case tokAskParam: ReadAskParam(); break;
        case tokDefRetr: ReadDefRetr(); break;
        case tokRightBrace: Next(); return;
        default: Error("} or net parameters expected");
        }
    }
}

void CInfNetCompiler::ReadSetParam() {
    Next();
    ExpectAndSkip(tokLeftParen, "( expected");
    CString name = ExpectName("identifier expected");
    SkipComma();
    CString value;
    if (token == tokName) {
        value = Text();
        Next();
    } else if (token != tokRightParen) {
        Error("identifier (parameter) expected");
    }
    ExpectAndSkip(tokRightParen, ") expected");
    // A name set twice keeps its first value; that is not an error.
    parameters->SetParam(name, value);
}

void CInfNetCompiler::ReadAskParam() {
    Next();
    ExpectAndSkip(tokLeftParen, "( expected");
    CString name = ExpectName("identifier expected");
    ExpectAndSkip(tokRightParen, ") expected");
    // Asking a name that is asked or set already has no effect.
    parameters->AddAskParam(name);
}

void CInfNetCompiler::ReadDefRetr() {
    Next();
    ExpectAndSkip(tokLeftParen, "( expected");
    const CSourcePlace aliasPlace = Here();
    CString alias = ExpectName("identifier (new name) expected");
    SkipComma();
    Expect(tokName, "identifier (current name) expected");
    if (table->AliasRetriever(alias, CString(Text())) != 0) {
        const char *message = "cannot add this retriever synonymum";
        if (table->FindRetrieverInfo(CString(Text())) == nullptr)
            ErrorAt(message, Here(), "no retriever named \"" + std::string(Text()) + "\"");
        ErrorAt(message, aliasPlace, "\"" + std::string(alias.Text()) + "\" names a retriever already");
    }
    Next();
    ExpectAndSkip(tokRightParen, ") expected");
}

// ---------------------------------------------------------------- sections

void CInfNetCompiler::ReadSection() {
    switch (token) {
    case tokNodes: ReadNodes(); break;
    case tokRules: ReadRules(); break;
    case tokLinks: ReadLinks(); break;
    case tokTaxonomies: ReadTaxonomies(); break;
    case tokDescription: ReadDescriptions(); break;
    default: Error("structure definition expected");
    }
}

// ---------------------------------------------------------------- nodes

void CInfNetCompiler::ReadNodes() {
    OpenBlock();
    while (token != tokRightBrace) {
        if (token != tokName) Error("} or identifier expected");
        ReadNode();
    }
    Next();
}

void CInfNetCompiler::ReadNode() {
    CString name(Text());
    const CSourcePlace namePlace = Here();
    Next();
    ExpectAndSkip(tokLeftBrace, "{ expected");
    CString description = name;
    if (token == tokText) {
        description = Text();
        Next();
        Expect(tokLeftParen, "( expected");
    } else if (token != tokLeftParen) {
        Error("( or ' expected");
    }
    Next();
    const CSourcePlace typePlace = Here();
    priorPlace = {};
    NodeType type = ReadNodeType();
    // A node is askable exactly when a retriever clause follows its type.
    bool askable = token == tokRetriever;
    int added = type.logical ? net->AddLogicalNode(name, type.logicalType, askable, type.goal)
                             : net->AddBayesNode(name, type.prior, askable, type.goal);
    if (added != 0) RefuseNode(name, namePlace, type, PriorPlace(typePlace));
    nodeLines.lines.push_back(namePlace.line);
    if (askable) ReadRetrieverClause(name);
    if (net->SetDescription(name, description) != 0) Error("cannot add description of node");
    ExpectAndSkip(tokRightBrace, "} expected");
}

CInfNetCompiler::NodeType CInfNetCompiler::ReadNodeType() {
    NodeType type;
    if (token == tokLogical) {
        type.logical = true;
        Next();
        ExpectAndSkip(tokComma, ", expected");
        switch (token) {
        case tokAnd: type.logicalType = CLogicalNode::kAnd; break;
        case tokOr: type.logicalType = CLogicalNode::kOr; break;
        case tokNot: type.logicalType = CLogicalNode::kNot; break;
        default: Error("type of logical node (and/or/not) expected");
        }
        Next();
    } else if (token == tokBayesian) {
        Next();
        ExpectAndSkip(tokComma, ", expected");
        priorPlace = Here();
        type.prior = ExpectNumber("number expected");
    } else {
        Error("node type (logical/bayesian) expected");
    }
    if (token == tokComma) {
        Next();
        Expect(tokGoal, ") or 'goal' expected");
        type.goal = true;
        Next();
    }
    ExpectAndSkip(tokRightParen, ") expected");
    return type;
}

void CInfNetCompiler::ReadRetrieverClause(const CString &node) {
    Next();
    ExpectAndSkip(tokLeftParen, "( expected");
    ReadRetrieverList(node);
    if (token == tokTranslator) ReadTranslatorClause(node);
    if (token == tokOutput) Error("output not yet implemented...");
}

void CInfNetCompiler::ReadRetrieverList(const CString &node) {
    bool first = true;
    for (;;) {
        Expect(tokName, "identifier (retriever name) expected");
        CString retriever(Text());
        const CSourcePlace retrieverPlace = Here();
        // The first retriever also fixes the node's translator; each further
        // one must share it.
        int attached = first ? table->AttachRetriever(node, retriever, nullptr, nullptr)
                             : table->AddRetriever(node, retriever, nullptr);
        if (attached != 0) RefuseRetriever(node, retriever, retrieverPlace);
        first = false;
        if (table->ParseRetrieverParams(node, this) != 0) Error("error in reading retriever parameters");
        Next();
        SkipComma();
        if (token == tokRightParen) break;
    }
    Next();
}

void CInfNetCompiler::ReadTranslatorClause(const CString &node) {
    Next();
    ExpectAndSkip(tokLeftParen, "( expected");
    if (table->ParseTranslatorParams(node, this) != 0) Error("error in reading translator parameters");
    ExpectAndSkip(tokRightParen, ") expected");
}

// ---------------------------------------------------------------- rules and links

void CInfNetCompiler::ReadRules() {
    OpenBlock();
    while (token != tokRightBrace) {
        Arrow arrow;
        arrow.first = 1.0f;
        arrow.second = 0.0f;
        ReadArrow(arrow);
        // Added before the closing brace is tested: a rule the net refuses is
        // reported as such even when its brace is missing too.
        if (net->AddRule(arrow.source, arrow.target, arrow.first, arrow.second) != 0)
            RefuseArrow("cannot add rule", arrow, "rule");
        ruleLines.lines.push_back(arrow.sourcePlace.line);
        ExpectAndSkip(tokRightBrace, "} expected");
    }
    Next();
}

void CInfNetCompiler::ReadLinks() {
    OpenBlock();
    while (token != tokRightBrace) {
        Arrow arrow;
        if (ReadArrow(arrow)) {
            if (net->AddContextLink(arrow.source, arrow.target, arrow.first, arrow.second) != 0)
                RefuseArrow("cannot add context link", arrow, "link");
        } else if (net->AddPriorityLink(arrow.source, arrow.target) != 0) {
            RefuseArrow("cannot add priority link", arrow, "link");
        }
        linkLines.lines.push_back(arrow.sourcePlace.line);
        ExpectAndSkip(tokRightBrace, "} expected");
    }
    Next();
}

// Reads "{ Name [,] Name" and, unless "}" follows, the separator after the
// second name (skipped unexamined), then "[,] Number [,] Number". Leaves the
// token after the last name or number current. True when numbers were read;
// otherwise first and second keep the values they came with.
bool CInfNetCompiler::ReadArrow(Arrow &arrow) {
    if (token != tokLeftBrace) Error("{ or } expected");
    Next();
    arrow.sourcePlace = Here();
    arrow.source = ExpectName("identifier expected");
    SkipComma();
    arrow.targetPlace = Here();
    arrow.target = ExpectName("identifier expected");
    if (token == tokRightBrace) return false;
    Next();
    SkipComma();
    arrow.firstPlace = Here();
    arrow.first = ExpectNumber("identifier expected");
    SkipComma();
    arrow.secondPlace = Here();
    arrow.second = ExpectNumber("identifier expected");
    return true;
}

// ---------------------------------------------------------------- taxonomies

void CInfNetCompiler::ReadTaxonomies() {
    OpenBlock();
    while (token != tokRightBrace) {
        if (token != tokName) Error("identifier (taxonomy name) expected");
        ReadTaxonomy();
    }
    Next();
}

void CInfNetCompiler::ReadTaxonomy() {
    CString name(Text());
    const CSourcePlace namePlace = Here();
    Next();
    int type = TaxonomyType(token);
    if (type < 0) Error("taxonomy type expected");
    if (net->AddTaxonomy(name, static_cast<uint8_t>(type)) != 0) RefuseClass("cannot add taxonomy", name, namePlace);
    classLines.emplace(name.Text(), namePlace.line);
    Next();
    ReadClassTree(name);
}

// Reads the body of a taxonomy's root class and, one class after another, the
// bodies of all classes below it. The classes whose class list is still open
// wait on a stack of their own rather than on the call stack, so that however
// deep a knowledge base nests its classes, compiling it cannot overflow. (A
// standard vector, because it grows geometrically: deep trees stay linear.)
void CInfNetCompiler::ReadClassTree(const CString &root) {
    std::vector<CString> open;
    CString cls = root;
    for (;;) {
        if (ReadClassBody(cls)) open.push_back(cls);
        // Inside the innermost open class list: the next class, or its end.
        for (;;) {
            if (open.empty()) return;
            if (token == tokName) break;
            if (token != tokRightBrace) Error("} expected");
            open.pop_back();
            Next();
        }
        CString child(Text());
        const CSourcePlace childPlace = Here();
        if (net->AddClass(open.back(), child) != 0) RefuseClass("cannot add this taxonomy class", child, childPlace);
        classLines.emplace(child.Text(), childPlace.line);
        Next();
        cls = child;
    }
}

// Reads the member list of a class if one follows; true when a class list
// follows too (its "{" is then read). Any other token ends the body and is
// left to the enclosing construct.
bool CInfNetCompiler::ReadClassBody(const CString &cls) {
    if (token == tokLeftParen) ReadMembers(cls);
    if (token != tokLeftBrace) return false;
    Next();
    return true;
}

void CInfNetCompiler::ReadMembers(const CString &cls) {
    Next();
    for (;;) {
        Expect(tokName, "identifier (node name) expected");
        if (net->AddNodeToClass(cls, CString(Text())) != 0)
            ErrorAt("cannot add this node to taxonomy", Here(), NoNodeNamed(Text()));
        Next();
        SkipComma();
        if (token == tokRightParen) break;
    }
    Next();
}

// ---------------------------------------------------------------- help pages

void CInfNetCompiler::ReadDescriptions() {
    CHelpBuilder builder(HelpDirectory(parameters->GetParam(kHelpPathParam), sourceDirectory));
    OpenBlock();
    while (token != tokRightBrace) {
        if (token != tokName) Error("identifier (node name) expected");
        ReadHelpPage(builder);
    }
    Next();
}

void CInfNetCompiler::ReadHelpPage(const CHelpBuilder &builder) {
    CString name(Text());
    const CSourcePlace namePlace = Here();
    Next();
    // The raw text starts right after the "{", so the lexer must not move on.
    Expect(tokLeftBrace, "{ expected");
    if ((writesHelpPages ? builder.WritePage(name, Lexer()) : builder.SkipPage(name, Lexer())) != 0)
        ErrorAt("cannot create html help file", namePlace,
                "the help page of \"" + std::string(name.Text()) + "\" could not be written");
    Next();
    ExpectAndSkip(tokRightBrace, "} expected");
}

// ---------------------------------------------------------------- small steps

void CInfNetCompiler::Expect(TToken kind, const char *message) {
    if (token != kind) Error(message);
}

void CInfNetCompiler::ExpectAndSkip(TToken kind, const char *message) {
    Expect(kind, message);
    Next();
}

void CInfNetCompiler::SkipComma() {
    if (token == tokComma) Next();
}

CString CInfNetCompiler::ExpectName(const char *message) {
    Expect(tokName, message);
    CString name(Text());
    Next();
    return name;
}

float CInfNetCompiler::ExpectNumber(const char *message) {
    Expect(tokNumber, message);
    float value = StoredFloat(Number());
    Next();
    return value;
}

// Steps over a section keyword and the "{" that must follow it.
void CInfNetCompiler::OpenBlock() {
    Next();
    ExpectAndSkip(tokLeftBrace, "{ expected");
}

void CInfNetCompiler::RefuseRetriever(const CString &node, const CString &retriever, const CSourcePlace &place) {
    const char *message = "cannot add retriever to node";
    if (table->FindRetrieverInfo(retriever) == nullptr)
        ErrorAt(message, place, "no retriever named \"" + std::string(retriever.Text()) + "\"");
    ErrorAt(message, place,
            "\"" + std::string(retriever.Text()) + "\" translates its answers otherwise than the first retriever of \"" +
                node.Text() + "\"; a node's retrievers must share one translator");
}

void CInfNetCompiler::RefuseClass(const char *message, const CString &name, const CSourcePlace &place) {
    if (auto earlier = classLines.find(name.Text()); earlier != classLines.end())
        ErrorAt(message, place,
                AlreadyDefined("the class \"" + std::string(name.Text()) + "\"", earlier->second) +
                    "; class names are unique across all taxonomies");
    Error(message);
}

CSourcePlace CInfNetCompiler::PriorPlace(const CSourcePlace &typePlace) const {
    return priorPlace.line > 0 ? priorPlace : typePlace;
}

template <typename Items, typename Item>
int32_t CInfNetCompiler::AddedLine(const AddedLines &added, const Items &items, const Item &matches) {
    for (size_t i = 0; i < added.lines.size(); ++i) {
        const int32_t at = added.first + static_cast<int32_t>(i);
        if (at < items.Count() && matches(items.At(at))) return added.lines[i];
    }
    return 0;
}

bool CInfNetCompiler::IsZeroToOne(float value) { return value >= 0.0f && value <= 1.0f; }

const char *CInfNetCompiler::FirstName(const char *kind) {
    return std::string(kind) == "rule" ? "P(H|E)" : "the lower bound";
}

const char *CInfNetCompiler::SecondName(const char *kind) {
    return std::string(kind) == "rule" ? "P(H|not E)" : "the upper bound";
}
