// A scripted ODBC driver standing in for SQL Server where SQLite cannot: the statement text
// describes the results the "server" sends, one step per ';':
//   count N                  a result with no columns and N rows affected
//   set A,B/1,x/2,NULL       a row set (values are text; NULL is null)
//   info N STATE text        attached to the next step (trailing ones come as a result of their own)
//   error N text             the step fails
//   out VALUE                the output parameter's value, delivered after the last result
//   queue STEPS              the answer to the next text that is no script (steps joined by &)
// "{call NAME(?)}" runs NAME as the script. Columns of a set may carry a type: Id:int,
// Amount:money, Stamp:datetime, Rate:float, Note:text (varchar otherwise).
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

struct Diag {
    std::string state;
    SQLINTEGER native = 0;
    std::string text;
};

struct Step {
    enum Kind { Count, Set, Error } kind = Count;
    long count = 0;
    std::vector<std::string> columns;
    std::vector<SQLSMALLINT> types;
    std::vector<std::vector<std::string>> rows;  // "\x01" stands for null
    std::vector<Diag> infos;
    Diag error;
};

struct Handle {
    SQLSMALLINT type;
    std::vector<Diag> diags;
};

struct Env : Handle {};
struct Dbc : Handle {
    std::deque<std::string> answers{};  // what the "server" says to texts that are no script
    std::string catalog = "master";
    bool autocommit = true;
    int commits = 0, rollbacks = 0;
};
struct Stmt : Handle {
    Dbc* dbc = nullptr;
    std::vector<Step> steps;
    std::string out;
    bool hasOut = false;
    size_t at = 0;
    long row = -1;
    std::vector<size_t> readOffset;
    SQLSMALLINT outCType = 0;
    SQLPOINTER outBuf = nullptr;
    SQLLEN outLen = 0;
    SQLLEN* outInd = nullptr;
};

const char kNull[] = "\x01";

std::string narrow(const SQLWCHAR* s, SQLINTEGER n) {
    std::string out;
    if (!s) return out;
    for (SQLINTEGER i = 0; n == SQL_NTS ? s[i] != 0 : i < n; ++i) {
        unsigned c = s[i];
        if (c < 0x80) out += char(c);
        else if (c < 0x800) { out += char(0xc0 | (c >> 6)); out += char(0x80 | (c & 0x3f)); }
        else { out += char(0xe0 | (c >> 12)); out += char(0x80 | ((c >> 6) & 0x3f)); out += char(0x80 | (c & 0x3f)); }
    }
    return out;
}

std::u16string widen(const std::string& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        if (c < 0x80) { out += char16_t(c); i += 1; }
        else if (c < 0xe0) { out += char16_t(((c & 0x1f) << 6) | (s[i + 1] & 0x3f)); i += 2; }
        else { out += char16_t(((c & 0x0f) << 12) | ((s[i + 1] & 0x3f) << 6) | (s[i + 2] & 0x3f)); i += 3; }
    }
    return out;
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t p = s.find(sep, start);
        out.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) return out;
        start = p + 1;
    }
}

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

void parse(Stmt& st, std::string text) {
    if (text.rfind("{call ", 0) == 0 && text.size() > 10) text = text.substr(6, text.size() - 6 - 4);
    std::vector<Diag> pending;
    for (const std::string& raw : split(text, ';')) {
        std::string part = trim(raw);
        if (part.empty()) continue;
        size_t sp = part.find(' ');
        std::string word = part.substr(0, sp), rest = sp == std::string::npos ? "" : part.substr(sp + 1);
        if (word == "info") {
            std::vector<std::string> f = split(rest, ' ');
            Diag d{f.size() > 1 ? f[1] : "01000", SQLINTEGER(std::stol(f[0])), ""};
            size_t textAt = f[0].size() + 1 + (f.size() > 1 ? f[1].size() + 1 : 0);
            d.text = textAt < rest.size() ? rest.substr(textAt) : "";
            pending.push_back(d);
            continue;
        }
        if (word == "out") { st.out = rest; st.hasOut = true; continue; }
        if (word == "queue") {
            std::string answer = rest;
            std::replace(answer.begin(), answer.end(), '&', ';');
            st.dbc->answers.push_back(answer);
            continue;
        }
        Step step;
        if (word == "count") {
            step.count = std::stol(rest);
        } else if (word == "set") {
            step.kind = Step::Set;
            std::vector<std::string> lines = split(rest, '/');
            for (std::string c : split(lines[0], ',')) {
                SQLSMALLINT type = SQL_VARCHAR;
                const size_t colon = c.find(':');
                if (colon != std::string::npos) {
                    const std::string t = c.substr(colon + 1);
                    c = c.substr(0, colon);
                    if (t == "int") type = SQL_INTEGER;
                    else if (t == "money") type = SQL_DECIMAL;
                    else if (t == "float") type = SQL_DOUBLE;
                    else if (t == "datetime") type = SQL_TYPE_TIMESTAMP;
                    else if (t == "text") type = SQL_LONGVARCHAR;
                }
                step.columns.push_back(c);
                step.types.push_back(type);
            }
            for (size_t i = 1; i < lines.size(); ++i) {
                std::vector<std::string> v = split(lines[i], ',');
                for (auto& x : v) if (x == "NULL") x = kNull;
                step.rows.push_back(v);
            }
        } else if (word == "error") {
            step.kind = Step::Error;
            size_t s2 = rest.find(' ');
            step.error = Diag{"42000", SQLINTEGER(std::stol(rest.substr(0, s2))), s2 == std::string::npos ? "" : rest.substr(s2 + 1)};
        } else {
            step.kind = Step::Error;
            step.error = Diag{"42000", 102, "Incorrect syntax near '" + word + "'."};
        }
        step.infos.swap(pending);
        st.steps.push_back(step);
    }
    if (!pending.empty()) {
        Step tail;
        tail.count = -1;
        tail.infos.swap(pending);
        st.steps.push_back(tail);
    }
}

SQLRETURN enter(Stmt& st) {
    st.row = -1;
    st.readOffset.clear();
    if (st.at >= st.steps.size()) {
        if (st.hasOut && st.outBuf) {
            std::string v = st.out;
            if (st.outCType == SQL_C_WCHAR) {
                std::u16string w = widen(v);
                size_t room = size_t(st.outLen) / 2;
                size_t n = std::min(w.size(), room ? room - 1 : 0);
                std::memcpy(st.outBuf, w.data(), n * 2);
                static_cast<SQLWCHAR*>(st.outBuf)[n] = 0;
                if (st.outInd) *st.outInd = SQLLEN(w.size() * 2);
            } else {
                size_t n = std::min(v.size(), st.outLen ? size_t(st.outLen) - 1 : 0);
                std::memcpy(st.outBuf, v.data(), n);
                static_cast<char*>(st.outBuf)[n] = 0;
                if (st.outInd) *st.outInd = SQLLEN(v.size());
            }
        }
        st.diags.clear();
        return SQL_NO_DATA;
    }
    Step& s = st.steps[st.at];
    st.diags = s.infos;
    if (s.kind == Step::Error) {
        st.diags.push_back(s.error);
        return SQL_ERROR;
    }
    if (s.kind == Step::Set) st.readOffset.assign(s.columns.size(), 0);
    return st.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

Step* current(Stmt& st) { return st.at < st.steps.size() ? &st.steps[st.at] : nullptr; }

SQLRETURN copyW(const std::string& v, SQLWCHAR* buf, SQLLEN chars, SQLSMALLINT* len) {
    std::u16string w = widen(v);
    if (len) *len = SQLSMALLINT(w.size());
    if (buf && chars > 0) {
        size_t n = std::min(w.size(), size_t(chars - 1));
        std::memcpy(buf, w.data(), n * 2);
        buf[n] = 0;
    }
    return SQLLEN(w.size()) < chars ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

// The texts the driver reads as scripts; any other text is answered from the queue.
bool isScript(const std::string& text) {
    const std::string word = text.substr(0, text.find(' '));
    return text.rfind("{call ", 0) == 0 || word == "count" || word == "set" || word == "info" || word == "error" ||
           word == "out" || word == "queue";
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE in, SQLHANDLE* out) {
    switch (type) {
    case SQL_HANDLE_ENV: *out = new Env{{type, {}}}; return SQL_SUCCESS;
    case SQL_HANDLE_DBC: *out = new Dbc{{type, {}}}; return SQL_SUCCESS;
    case SQL_HANDLE_STMT: {
        auto* s = new Stmt{};
        s->type = type;
        s->dbc = static_cast<Dbc*>(in);
        *out = s;
        return SQL_SUCCESS;
    }
    default: return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE h) {
    switch (type) {
    case SQL_HANDLE_ENV: delete static_cast<Env*>(h); break;
    case SQL_HANDLE_DBC: delete static_cast<Dbc*>(h); break;
    case SQL_HANDLE_STMT: delete static_cast<Stmt*>(h); break;
    default: return SQL_ERROR;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT h, SQLUSMALLINT option) {
    auto* st = static_cast<Stmt*>(h);
    if (option == SQL_DROP) { delete st; return SQL_SUCCESS; }
    if (option == SQL_CLOSE) st->steps.clear();
    if (option == SQL_RESET_PARAMS) st->outBuf = nullptr;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }
SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER v, SQLINTEGER, SQLINTEGER*) {
    if (v) *static_cast<SQLINTEGER*>(v) = SQL_OV_ODBC3;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC h, SQLHWND, SQLWCHAR* in, SQLSMALLINT inLen, SQLWCHAR* out,
                                    SQLSMALLINT outMax, SQLSMALLINT* outLen, SQLUSMALLINT) {
    auto* dbc = static_cast<Dbc*>(h);
    std::string cs = narrow(in, inLen);
    if (out) copyW(cs, out, outMax, outLen);
    if (cs.find("Refuse=1") != std::string::npos) {
        dbc->diags = {{"28000", 18456, "Login failed for user 'nobody'."}};
        return SQL_ERROR;
    }
    // What SQL Server says at every log-in.
    dbc->diags = {{"01000", 5701, "Changed database context to 'master'."},
                  {"01000", 5703, "Changed language setting to us_english."}};
    return SQL_SUCCESS_WITH_INFO;
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC) { return SQL_SUCCESS; }

SQLRETURN SQL_API SQLGetInfoW(SQLHDBC, SQLUSMALLINT what, SQLPOINTER v, SQLSMALLINT max, SQLSMALLINT* len) {
    std::string text;
    switch (what) {
    case SQL_DBMS_NAME: text = "Script Server"; break;
    case SQL_DRIVER_ODBC_VER: text = "03.52"; break;
    case SQL_DRIVER_NAME: text = "libscriptdriver.so"; break;
    default:
        if (v && max >= 4) std::memset(v, 0, 4);
        if (len) *len = 4;
        return SQL_SUCCESS;
    }
    SQLSMALLINT chars = 0;
    copyW(text, static_cast<SQLWCHAR*>(v), max / 2, &chars);
    if (len) *len = SQLSMALLINT(chars * 2);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC h, SQLINTEGER attr, SQLPOINTER v, SQLINTEGER len) {
    auto* dbc = static_cast<Dbc*>(h);
    dbc->diags.clear();
    if (attr == SQL_ATTR_AUTOCOMMIT) {
        bool on = reinterpret_cast<SQLULEN>(v) == SQL_AUTOCOMMIT_ON;
        if (on && !dbc->autocommit) ++dbc->commits;  // switching back commits open work
        dbc->autocommit = on;
    } else if (attr == SQL_ATTR_CURRENT_CATALOG) {
        std::string name = narrow(static_cast<SQLWCHAR*>(v), len == SQL_NTS ? SQL_NTS : len / 2);
        if (name == "Nowhere") {
            dbc->diags = {{"42000", 911, "Database 'Nowhere' does not exist. Make sure that the name is entered correctly."}};
            return SQL_ERROR;
        }
        dbc->catalog = name;
        dbc->diags = {{"01000", 5701, "Changed database context to '" + name + "'."}};
        return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC h, SQLINTEGER attr, SQLPOINTER v, SQLINTEGER max, SQLINTEGER* len) {
    auto* dbc = static_cast<Dbc*>(h);
    if (attr == SQL_ATTR_CURRENT_CATALOG) {
        SQLSMALLINT chars = 0;
        copyW(dbc->catalog, static_cast<SQLWCHAR*>(v), max / 2, &chars);
        if (len) *len = chars * 2;
        return SQL_SUCCESS;
    }
    // Lets a test read how often work was committed or rolled back, and the commit mode.
    if (attr == 40001 || attr == 40002) {
        *static_cast<SQLINTEGER*>(v) = attr == 40001 ? dbc->commits : dbc->rollbacks;
        return SQL_SUCCESS;
    }
    if (attr == SQL_ATTR_AUTOCOMMIT) {
        *static_cast<SQLUINTEGER*>(v) = dbc->autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
        return SQL_SUCCESS;
    }
    return SQL_ERROR;
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT, SQLHANDLE h, SQLSMALLINT how) {
    auto* dbc = static_cast<Dbc*>(h);
    if (how == SQL_COMMIT) ++dbc->commits; else ++dbc->rollbacks;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNativeSqlW(SQLHDBC, SQLWCHAR* in, SQLINTEGER inLen, SQLWCHAR* out, SQLINTEGER max,
                                SQLINTEGER* outLen) {
    SQLINTEGER n = 0;
    if (inLen == SQL_NTS) while (in[n]) ++n; else n = inLen;
    if (outLen) *outLen = n;
    if (out && max > 0) {
        SQLINTEGER c = std::min(n, max - 1);
        std::memcpy(out, in, size_t(c) * 2);
        out[c] = 0;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT h, SQLWCHAR* text, SQLINTEGER len) {
    auto* st = static_cast<Stmt*>(h);
    st->steps.clear();
    st->hasOut = false;
    st->at = 0;
    std::string script = narrow(text, len);
    if (!isScript(script) && !st->dbc->answers.empty()) {
        script = st->dbc->answers.front();
        st->dbc->answers.pop_front();
    }
    parse(*st, script);
    return enter(*st);
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT h) {
    auto* st = static_cast<Stmt*>(h);
    if (st->at < st->steps.size()) ++st->at;
    return enter(*st);
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT h, SQLSMALLINT* n) {
    auto* st = static_cast<Stmt*>(h);
    Step* s = current(*st);
    *n = s && s->kind == Step::Set ? SQLSMALLINT(s->columns.size()) : 0;
    st->diags.clear();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT h, SQLLEN* n) {
    Step* s = current(*static_cast<Stmt*>(h));
    *n = s && s->kind == Step::Count ? s->count : -1;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeColW(SQLHSTMT h, SQLUSMALLINT col, SQLWCHAR* name, SQLSMALLINT max, SQLSMALLINT* len,
                                  SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    Step* s = current(*static_cast<Stmt*>(h));
    if (!s || col < 1 || col > s->columns.size()) return SQL_ERROR;
    copyW(s->columns[col - 1], name, max, len);
    if (type) *type = col <= s->types.size() ? s->types[col - 1] : SQL_VARCHAR;
    if (size) *size = 255;
    if (digits) *digits = 0;
    if (nullable) *nullable = SQL_NULLABLE;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT h) {
    auto* st = static_cast<Stmt*>(h);
    Step* s = current(*st);
    st->diags.clear();
    if (!s || s->kind != Step::Set) return SQL_ERROR;
    if (size_t(st->row + 1) >= s->rows.size()) return SQL_NO_DATA;
    ++st->row;
    std::fill(st->readOffset.begin(), st->readOffset.end(), 0);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT h, SQLUSMALLINT col, SQLSMALLINT cType, SQLPOINTER buf, SQLLEN max, SQLLEN* ind) {
    auto* st = static_cast<Stmt*>(h);
    Step* s = current(*st);
    st->diags.clear();
    if (!s || st->row < 0 || col < 1 || col > s->columns.size()) return SQL_ERROR;
    const std::string& v = s->rows[size_t(st->row)][col - 1];
    if (v == kNull) { *ind = SQL_NULL_DATA; return SQL_SUCCESS; }
    // Typed reads of the text: what a server sends for int, money and datetime columns.
    switch (cType) {
    case SQL_C_SBIGINT: *static_cast<SQLBIGINT*>(buf) = std::strtoll(v.c_str(), nullptr, 10); *ind = 8; return SQL_SUCCESS;
    case SQL_C_DOUBLE: *static_cast<double*>(buf) = std::strtod(v.c_str(), nullptr); *ind = 8; return SQL_SUCCESS;
    case SQL_C_BIT: *static_cast<unsigned char*>(buf) = v == "1"; *ind = 1; return SQL_SUCCESS;
    case SQL_C_TYPE_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts{};
        int y = 0, mo = 0, d = 0, hh = 0, mi = 0, ss = 0, ms = 0;
        std::sscanf(v.c_str(), "%d-%d-%d %d:%d:%d.%d", &y, &mo, &d, &hh, &mi, &ss, &ms);
        ts.year = SQLSMALLINT(y); ts.month = SQLUSMALLINT(mo); ts.day = SQLUSMALLINT(d);
        ts.hour = SQLUSMALLINT(hh); ts.minute = SQLUSMALLINT(mi); ts.second = SQLUSMALLINT(ss);
        ts.fraction = SQLUINTEGER(ms) * 1000000u;
        *static_cast<SQL_TIMESTAMP_STRUCT*>(buf) = ts;
        *ind = sizeof ts;
        return SQL_SUCCESS;
    }
    default: break;
    }
    size_t& off = st->readOffset[col - 1];
    std::u16string w = widen(v);
    const size_t unit = cType == SQL_C_WCHAR ? 2 : 1;
    const size_t total = cType == SQL_C_WCHAR ? w.size() : v.size();
    if (off > 0 && off >= total) return SQL_NO_DATA;
    const size_t room = size_t(max) / unit - 1;
    const size_t n = std::min(total - off, room);
    if (cType == SQL_C_WCHAR) {
        std::memcpy(buf, w.data() + off, n * 2);
        static_cast<SQLWCHAR*>(buf)[n] = 0;
    } else {
        std::memcpy(buf, v.data() + off, n);
        static_cast<char*>(buf)[n] = 0;
    }
    *ind = SQLLEN((total - off) * unit);
    off += n;
    if (off < total) {
        st->diags = {{"01004", 0, "String data, right truncated"}};
        return SQL_SUCCESS_WITH_INFO;
    }
    if (off == 0) off = 1;  // an empty value has been read once
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT h, SQLUSMALLINT n, SQLSMALLINT io, SQLSMALLINT cType, SQLSMALLINT,
                                   SQLULEN, SQLSMALLINT, SQLPOINTER buf, SQLLEN len, SQLLEN* ind) {
    auto* st = static_cast<Stmt*>(h);
    if (n != 1 || io != SQL_PARAM_OUTPUT) return SQL_ERROR;
    st->outCType = cType;
    st->outBuf = buf;
    st->outLen = len;
    st->outInd = ind;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT, SQLHANDLE h, SQLSMALLINT i, SQLWCHAR* state, SQLINTEGER* native,
                                 SQLWCHAR* text, SQLSMALLINT max, SQLSMALLINT* len) {
    auto* hd = static_cast<Handle*>(h);
    if (i < 1 || size_t(i) > hd->diags.size()) return SQL_NO_DATA;
    const Diag& d = hd->diags[size_t(i - 1)];
    if (state) copyW(d.state, state, 6, nullptr);
    if (native) *native = d.native;
    return copyW("[Script][Server]" + d.text, text, max, len);
}

SQLRETURN SQL_API SQLGetDiagFieldW(SQLSMALLINT, SQLHANDLE h, SQLSMALLINT i, SQLSMALLINT field, SQLPOINTER v,
                                   SQLSMALLINT max, SQLSMALLINT* len) {
    auto* hd = static_cast<Handle*>(h);
    if (field == SQL_DIAG_NUMBER) {
        *static_cast<SQLINTEGER*>(v) = SQLINTEGER(hd->diags.size());
        return SQL_SUCCESS;
    }
    if (i < 1 || size_t(i) > hd->diags.size()) return SQL_NO_DATA;
    const Diag& d = hd->diags[size_t(i - 1)];
    switch (field) {
    case SQL_DIAG_NATIVE: *static_cast<SQLINTEGER*>(v) = d.native; return SQL_SUCCESS;
    case SQL_DIAG_SQLSTATE: return copyW(d.state, static_cast<SQLWCHAR*>(v), max / 2, len);
    case SQL_DIAG_MESSAGE_TEXT: return copyW("[Script][Server]" + d.text, static_cast<SQLWCHAR*>(v), max / 2, len);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN: return copyW("ODBC 3.0", static_cast<SQLWCHAR*>(v), max / 2, len);
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME: return copyW("", static_cast<SQLWCHAR*>(v), max / 2, len);
    default: return SQL_NO_DATA;
    }
}

}  // extern "C"
