// The errors that reading or writing a drawing raises. Each kind carries what
// its user message needs; the message texts are the program's own.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace tolvani {

enum class JwwErrorKind {
    EndOfFile,
    BadIndex,
    BadClass,
    Generic,
    WrongDirection,
    OutOfMemory,
    NotDrawing,
};

class JwwStreamError : public std::runtime_error {
public:
    JwwStreamError(JwwErrorKind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    JwwErrorKind kind() const { return kind_; }

    // The message shown to the user, with the file's path in place of %1
    // (an empty path reads "無題のファイル").
    virtual std::string UserMessage(const std::string& path) const = 0;

private:
    JwwErrorKind kind_;
};

class JwwEndOfFileError : public JwwStreamError {
public:
    JwwEndOfFileError() : JwwStreamError(JwwErrorKind::EndOfFile, "unexpected end of file") {}
    std::string UserMessage(const std::string& path) const override;
};

class JwwBadIndexError : public JwwStreamError {
public:
    explicit JwwBadIndexError(const std::string& detail = "bad object index")
        : JwwStreamError(JwwErrorKind::BadIndex, detail) {}
    std::string UserMessage(const std::string& path) const override;
};

class JwwBadClassError : public JwwStreamError {
public:
    explicit JwwBadClassError(const std::string& detail = "unexpected class")
        : JwwStreamError(JwwErrorKind::BadClass, detail) {}
    std::string UserMessage(const std::string& path) const override;
};

class JwwGenericError : public JwwStreamError {
public:
    explicit JwwGenericError(const std::string& detail = "unknown stream error")
        : JwwStreamError(JwwErrorKind::Generic, detail) {}
    std::string UserMessage(const std::string& path) const override;
};

class JwwWrongDirectionError : public JwwStreamError {
public:
    // storeOnLoading: a store operation was used on a loading stream.
    explicit JwwWrongDirectionError(bool storeOnLoading)
        : JwwStreamError(JwwErrorKind::WrongDirection,
                         storeOnLoading ? "store on a loading stream" : "load on a storing stream"),
          storeOnLoading_(storeOnLoading) {}
    bool storeOnLoading() const { return storeOnLoading_; }
    std::string UserMessage(const std::string& path) const override;

private:
    bool storeOnLoading_;
};

// What every part of the program says when memory runs out.
inline constexpr const char* kOutOfMemoryMessage = "メモリが不足しています。";

class JwwOutOfMemoryError : public JwwStreamError {
public:
    JwwOutOfMemoryError() : JwwStreamError(JwwErrorKind::OutOfMemory, "out of memory") {}
    std::string UserMessage(const std::string& path) const override;
};

// Bytes that do not start as a drawing does ("JwwData."): not read on.
class JwwNotDrawingError : public JwwStreamError {
public:
    JwwNotDrawingError() : JwwStreamError(JwwErrorKind::NotDrawing, "not a JWW drawing") {}
    std::string UserMessage(const std::string& path) const override;
};

// A file that could not be opened, read, written or renamed (not a stream
// error). Carries the system's error number where there is one (else 0),
// and the program's own explanation where it refused the file itself.
class JwwFileError : public std::runtime_error {
public:
    explicit JwwFileError(const std::string& what, int systemError = 0, std::string explanation = std::string())
        : std::runtime_error(what), systemError_(systemError), explanation_(std::move(explanation)) {}
    int systemError() const { return systemError_; }
    // The reason for the user: the program's explanation where there is
    // one, else the system's (strerror), else "".
    std::string SystemReason() const;

private:
    int systemError_;
    std::string explanation_;
};

// A name that is not of a regular file: a folder (EISDIR), or a FIFO, a
// device or a socket (no error number; the explanation says what it is).
class JwwNotRegularFileError : public JwwFileError {
public:
    using JwwFileError::JwwFileError;
};

}  // namespace tolvani
