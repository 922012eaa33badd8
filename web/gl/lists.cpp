// Display lists, as the font uses them: a list holds the immediate-mode
// calls and translations made while it was compiled; anything else runs at
// once. Every list's calls sit in one array, each list a span of it.
#include "layer.h"

#include <vector>

// ---- types -----------------------------------------------------------------

namespace {

struct Call {
    ListOp  op;
    GLfloat a, b, c;
};

struct Span {
    std::size_t first = 0, count = 0;
};

}  // namespace

// ---- state -----------------------------------------------------------------

static std::vector<Call> calls;
static std::vector<Span> spans;         // by list name; 0 is no list
static GLuint            compiling = 0;  // the list being compiled
static GLuint            listBase = 0;

// ---- functions -------------------------------------------------------------

bool qvRecord(ListOp op, GLfloat a, GLfloat b, GLfloat c)
{
    if (compiling == 0)
        return false;
    calls.push_back(Call{op, a, b, c});
    return true;
}

GLuint glGenLists(GLsizei range)
{
    if (range <= 0)
        return 0;
    const auto first = static_cast<GLuint>(spans.empty() ? 1 : spans.size());
    spans.resize(first + static_cast<std::size_t>(range));
    return first;
}

// Compiling a list again replaces it; its old calls stay unused.
void glNewList(GLuint list, GLenum)
{
    if (list == 0 || list >= spans.size() || compiling != 0)
        return;
    compiling = list;
    spans[list] = Span{calls.size(), 0};
}

void glEndList()
{
    if (compiling == 0)
        return;
    spans[compiling].count = calls.size() - spans[compiling].first;
    compiling = 0;
}

void glListBase(GLuint base) { listBase = base; }

static void run(const Call& call)
{
    switch (call.op) {
    case ListOp::Begin: glBegin(static_cast<GLenum>(call.a)); break;
    case ListOp::End: glEnd(); break;
    case ListOp::TexCoord: glTexCoord2f(call.a, call.b); break;
    case ListOp::Vertex: glVertex2f(call.a, call.b); break;
    case ListOp::Translate: glTranslatef(call.a, call.b, call.c); break;
    }
}

// Names are bytes, as the font gives them; a name with no list draws nothing.
void glCallLists(GLsizei count, GLenum type, const GLvoid* names)
{
    if (type != GL_UNSIGNED_BYTE || compiling != 0)
        return;
    const auto* bytes = static_cast<const unsigned char*>(names);
    for (GLsizei i = 0; i < count; ++i) {
        const GLuint list = listBase + bytes[i];
        if (list == 0 || list >= spans.size())
            continue;
        const Span& span = spans[list];
        for (std::size_t k = span.first; k < span.first + span.count; ++k)
            run(calls[k]);
    }
}
