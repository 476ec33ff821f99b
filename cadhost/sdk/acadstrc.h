#pragma once
// Status values of the host's database calls. Callers compare with Acad::eOk (0); every other
// value names a failure.

#pragma GCC visibility push(default)

namespace Acad {

enum ErrorStatus {
  eOk = 0,
  eNotImplementedYet,        // the host does not offer this operation
  eNotApplicable,            // the operation makes no sense for this object
  eInvalidInput,             // an argument is out of range, empty or malformed
  eNullObjectId,             // the id is the null id
  eNullObjectPointer,        // a required pointer argument is null
  eUnknownHandle,            // the id names no object of a living database
  eWasErased,                // the object is erased and was not opened "erased"
  eNotAnEntity,              // acdbOpenAcDbEntity on an object that is not an entity
  eNotThatKindOfClass,       // the object is not of the class asked for
  eWasOpenForRead,           // write access asked while readers hold the object open
  eWasOpenForWrite,          // the object is open for write already
  eTooManyReaders,           // too many concurrent read opens
  eNotOpenForWrite,          // a change to an object that is not open for write
  eNotOpenForRead,           // close of an object that is not open
  eNotInDatabase,            // the object is not in a database
  eAlreadyInDb,              // the object is already in a database
  eWrongDatabase,            // ids of different databases were mixed
  eKeyNotFound,              // no record of that name
  eDuplicateRecordName,      // a record of that name exists already
  eDuplicateRecord,          // the linetype is loaded already
  eInvalidSymbolTableName,   // a record name that a symbol table cannot hold
  eInvalidIndex,             // a vertex or element index out of range
  eInvalidExtents,           // the object has no geometric extents
  eDegenerateGeometry,       // a transform would collapse the geometry
  eCannotScaleNonUniformly,  // the object cannot follow a non-uniform scale or shear
  eSelfReference,            // a block would contain a reference to itself
  eFileNotFound,             // the file search found no such file
  eFileAccessErr,            // the file cannot be opened, read or written
  eBadDxfFile,               // the file is not a well-formed drawing file
  eUndefinedLineType,        // no such linetype in the linetype file
  eOutOfMemory,              // a size limit for untrusted input was reached
};

}  // namespace Acad

// A short English name of a status value ("eOk", "eWasErased", ...).
const char* acadErrorStatusText(Acad::ErrorStatus status);

#pragma GCC visibility pop
