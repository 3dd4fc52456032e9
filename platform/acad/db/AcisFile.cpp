// The host's ACIS reader and writer (AcDbBody::acisIn, AcDbBody::acisOut).
//
// The stand-in has no ACIS modeller, so its ACIS files hold its own boundary
// model (standin/AcDbShapeModel.h) in a small text format of lines:
//
//   kolvane-acis 1
//   bodies <count>
//   <3DSOLID | BODY | REGION> <face count>
//   face <planar | curved> <nx> <ny> <nz> <loop count>
//   loop <edge count>
//   line <sx> <sy> <sz> <ex> <ey> <ez>
//   arc <cx> <cy> <cz> <nx> <ny> <nz> <radius> <start angle> <end angle>
//   end
//
// Each body is followed by its faces, each face by its loops, each loop by
// its edges. Numbers are written in their shortest form that reads back to
// the same double, so a file reads back exactly as it was written.
//
// A file comes from outside: it is read whole (at most kMaxFileBytes) and
// parsed completely before any entity is made; every count is checked against
// the lines actually left, every number must be finite, and every shape must
// pass standin::checkModel. Any fault gives a status and no entity.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "DbInternal.h"
#include "dbbody.h"
#include "dbregion.h"
#include "dbsol3d.h"
#include "standin/FileIo.h"
#include "standin/WideFormat.h"

namespace {

using standin::ModelEdge;
using standin::ModelFace;
using standin::ModelLoop;
using standin::ShapeModel;

// An ACIS file larger than this is refused before it is read: what the
// shapes of a file of this size take in memory stays within a few hundred MB.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(16) << 20;
// No line of the format has more words.
constexpr size_t kMaxWords = 10;
const char kHeader[] = "kolvane-acis 1";

enum class BodyKind { kSolid, kBody, kRegion };

struct Shape {
    BodyKind kind;
    ShapeModel model;
};

// ---- Writing -------------------------------------------------------------

void putNumber(std::string& out, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out += ' ';
    out.append(buffer, result.ptr);
}

void putPoint(std::string& out, const AcGePoint3d& p)
{
    putNumber(out, p.x);
    putNumber(out, p.y);
    putNumber(out, p.z);
}

void putVector(std::string& out, const AcGeVector3d& v)
{
    putNumber(out, v.x);
    putNumber(out, v.y);
    putNumber(out, v.z);
}

void putShape(std::string& out, BodyKind kind, const ShapeModel& model)
{
    out += kind == BodyKind::kSolid ? "3DSOLID " : kind == BodyKind::kBody ? "BODY " : "REGION ";
    out += std::to_string(model.faces.size()) + "\n";
    for (const ModelFace& f : model.faces) {
        out += f.planar ? "face planar" : "face curved";
        putVector(out, f.normal);
        out += " " + std::to_string(f.loops.size()) + "\n";
        for (const ModelLoop& l : f.loops) {
            out += "loop " + std::to_string(l.edges.size()) + "\n";
            for (const ModelEdge& e : l.edges) {
                if (e.kind == ModelEdge::kLine) {
                    out += "line";
                    putPoint(out, e.start);
                    putPoint(out, e.end);
                } else {
                    out += "arc";
                    putPoint(out, e.center);
                    putVector(out, e.normal);
                    putNumber(out, e.radius);
                    putNumber(out, e.startAngle);
                    putNumber(out, e.endAngle);
                }
                out += "\n";
            }
        }
    }
}

// ---- Reading -------------------------------------------------------------

struct Fault {
    Acad::ErrorStatus status;
};

[[noreturn]] void fail(Acad::ErrorStatus status)
{
    throw Fault{status};
}
[[noreturn]] void damaged()
{
    fail(Acad::eCannotRestoreFromAcisFile);
}

std::string readWholeFile(const std::string& name)
{
    std::string data;
    if (const standin::files::FileError e = standin::files::readWholeFile(name, kMaxFileBytes, data)) {
        if (e.kind == standin::files::FileError::kTooLarge)
            damaged();
        const bool missing = e.kind == standin::files::FileError::kSystem && (e.error == ENOENT || e.error == ENOTDIR);
        fail(missing ? Acad::eFileNotFound : Acad::eFileAccessErr);
    }
    return data;
}

// The file's lines, split into words; blank lines are skipped.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text)
    {
        for (const char c : text)
            if (c == '\n')
                ++linesLeft_;
        ++linesLeft_;
    }

    // The words of the next line that is not blank; false at the end.
    bool next(std::vector<std::string_view>& words)
    {
        words.clear();
        while (pos_ < text_.size() && words.empty()) {
            size_t end = text_.find('\n', pos_);
            if (end == std::string_view::npos)
                end = text_.size();
            std::string_view line = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            --linesLeft_;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            size_t i = 0;
            while (i < line.size()) {
                const unsigned char c = static_cast<unsigned char>(line[i]);
                if (c == ' ' || c == '\t') {
                    ++i;
                    continue;
                }
                if (c < 0x21 || c > 0x7e)
                    damaged();  // control characters, bytes outside ASCII
                if (words.size() == kMaxWords)
                    damaged();
                size_t j = i;
                while (j < line.size() && line[j] != ' ' && line[j] != '\t')
                    ++j;
                words.push_back(line.substr(i, j - i));
                i = j;
            }
        }
        return !words.empty();
    }

    // The next line, which must begin with keyword and have count words.
    void expect(std::vector<std::string_view>& words, std::string_view keyword, size_t count)
    {
        if (!next(words) || words.size() != count || words[0] != keyword)
            damaged();
    }

    // A count that the lines still left in the file can hold: each item takes
    // at least one line, so an absurd count is refused before anything grows.
    size_t count(std::string_view word) const
    {
        std::uint64_t value = 0;
        const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
        if (result.ec != std::errc() || result.ptr != word.data() + word.size() || value > linesLeft_)
            damaged();
        return static_cast<size_t>(value);
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
    std::uint64_t linesLeft_ = 0;
};

double number(std::string_view word)
{
    double value = 0.0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (result.ec != std::errc() || result.ptr != word.data() + word.size() || !std::isfinite(value))
        damaged();
    return value;
}

AcGePoint3d point(const std::vector<std::string_view>& w, size_t at)
{
    return AcGePoint3d(number(w[at]), number(w[at + 1]), number(w[at + 2]));
}

AcGeVector3d vector(const std::vector<std::string_view>& w, size_t at)
{
    return AcGeVector3d(number(w[at]), number(w[at + 1]), number(w[at + 2]));
}

std::vector<Shape> parse(std::string_view text)
{
    Reader reader(text);
    std::vector<std::string_view> w;
    if (!reader.next(w) || w.size() != 2 || std::string(w[0]) + " " + std::string(w[1]) != kHeader)
        damaged();
    reader.expect(w, "bodies", 2);
    const size_t bodies = reader.count(w[1]);
    std::vector<Shape> shapes;
    for (size_t b = 0; b < bodies; ++b) {
        if (!reader.next(w) || w.size() != 2)
            damaged();
        Shape shape;
        if (w[0] == "3DSOLID")
            shape.kind = BodyKind::kSolid;
        else if (w[0] == "BODY")
            shape.kind = BodyKind::kBody;
        else if (w[0] == "REGION")
            shape.kind = BodyKind::kRegion;
        else
            damaged();
        const size_t faces = reader.count(w[1]);
        for (size_t f = 0; f < faces; ++f) {
            if (!reader.next(w) || w.size() != 6 || w[0] != "face" || (w[1] != "planar" && w[1] != "curved"))
                damaged();
            ModelFace face;
            face.planar = w[1] == "planar";
            face.normal = vector(w, 2);
            const size_t loops = reader.count(w[5]);
            for (size_t l = 0; l < loops; ++l) {
                reader.expect(w, "loop", 2);
                const size_t edges = reader.count(w[1]);
                ModelLoop loop;
                for (size_t e = 0; e < edges; ++e) {
                    if (!reader.next(w))
                        damaged();
                    ModelEdge edge;
                    if (w[0] == "line" && w.size() == 7) {
                        edge.kind = ModelEdge::kLine;
                        edge.start = point(w, 1);
                        edge.end = point(w, 4);
                    } else if (w[0] == "arc" && w.size() == 10) {
                        edge.kind = ModelEdge::kArc;
                        edge.center = point(w, 1);
                        edge.normal = vector(w, 4);
                        edge.radius = number(w[7]);
                        edge.startAngle = number(w[8]);
                        edge.endAngle = number(w[9]);
                    } else {
                        damaged();
                    }
                    loop.edges.push_back(edge);
                }
                face.loops.push_back(std::move(loop));
            }
            shape.model.faces.push_back(std::move(face));
        }
        if (standin::checkModel(shape.model) != Acad::eOk)
            damaged();
        if (shape.kind == BodyKind::kRegion && !shape.model.isEmpty() &&
            (shape.model.faces.size() != 1 || !shape.model.faces.front().planar))
            damaged();
        shapes.push_back(std::move(shape));
    }
    reader.expect(w, "end", 1);
    if (reader.next(w))
        damaged();  // nothing may follow the end
    return shapes;
}

AcDbEntity* makeEntity(const Shape& shape)
{
    switch (shape.kind) {
    case BodyKind::kSolid: {
        auto* e = new AcDb3dSolid();
        e->setStandinModel(shape.model);
        return e;
    }
    case BodyKind::kBody: {
        auto* e = new AcDbBody();
        e->setStandinModel(shape.model);
        return e;
    }
    case BodyKind::kRegion: break;
    }
    auto* e = new AcDbRegion();
    e->setStandinModel(shape.model);
    return e;
}

bool usableName(const ACHAR* fileName)
{
    return fileName != nullptr && fileName[0] != L'\0';
}

}  // namespace

Acad::ErrorStatus AcDbBody::acisIn(const ACHAR* fileName, AcDbVoidPtrArray& entities)
{
    if (!usableName(fileName))
        return Acad::eInvalidInput;
    std::vector<AcDbEntity*> made;
    try {
        const std::vector<Shape> shapes = parse(readWholeFile(standin::narrow(fileName)));
        made.reserve(shapes.size());
        for (const Shape& shape : shapes)
            made.push_back(makeEntity(shape));
    } catch (const Fault& fault) {
        for (AcDbEntity* e : made)
            delete e;
        return fault.status;
    } catch (const std::bad_alloc&) {
        for (AcDbEntity* e : made)
            delete e;
        return Acad::eOutOfMemory;
    }
    for (AcDbEntity* e : made)
        entities.append(e);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBody::acisOut(const ACHAR* fileName, const AcDbVoidPtrArray& entities)
{
    if (!usableName(fileName))
        return Acad::eInvalidInput;
    std::string body;
    size_t written = 0;
    try {
        for (int i = 0; i < entities.length(); ++i) {
            const auto* object = static_cast<const AcDbObject*>(entities[i]);
            if (object == nullptr)
                return Acad::eNullEntityPointer;
            if (!object->isReadEnabled())
                return Acad::eNotOpenForRead;
            // Like the host, entities that hold no ACIS shape are passed over.
            if (const AcDb3dSolid* solid = AcDb3dSolid::cast(object))
                putShape(body, BodyKind::kSolid, solid->standinModel());
            else if (const AcDbBody* b = AcDbBody::cast(object))
                putShape(body, BodyKind::kBody, b->standinModel());
            else if (const AcDbRegion* region = AcDbRegion::cast(object))
                putShape(body, BodyKind::kRegion, region->standinModel());
            else
                continue;
            ++written;
        }
    } catch (const std::bad_alloc&) {
        return Acad::eOutOfMemory;
    }
    if (written == 0)
        return Acad::eInvalidInput;  // nothing to write
    const std::string text = std::string(kHeader) + "\nbodies " + std::to_string(written) + "\n" + body + "end\n";
    // Written through a temporary file beside it, so that a write that fails
    // leaves no half file and an existing file as it was.
    return standin::files::replaceFile(standin::narrow(fileName), text) ? Acad::eFileAccessErr : Acad::eOk;
}
