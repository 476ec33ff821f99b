#!/usr/bin/python3
"""The export check tells the API from the host's internals, and notices a hidden API."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_exports  # noqa: E402

# A public header in the style of cadhost/sdk/: an API class with the class-test members, a
# free function, the host-control namespace, and internals it only points at.
HEADER = """#pragma once
// A header. class NotDeclared { in a comment } does not count.
#include <memory>

namespace cadhost {
struct Impl;
}

#pragma GCC visibility push(default)

class AcDbThing : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbThing);
  virtual void doIt();
 private:
  friend class cadhost::Access;
  std::unique_ptr<cadhost::Impl> m_impl;
};
Acad::ErrorStatus acdbDoIt(int n);

namespace cadhost {
struct Report { int line = 0; };
void RunIt();
}  // namespace cadhost

#pragma GCC visibility pop
"""

# name, exported symbol as nm -C shows it, True when it must be refused.
SYMBOLS = [
    ("api_member", "AcDbThing::doIt()", False),
    ("api_free_function", "acdbDoIt(int)", False),
    ("api_typeinfo", "typeinfo for AcDbThing", False),
    ("api_static_local_guard", "guard variable for AcDbThing::desc()::c", False),
    ("host_control_function", "cadhost::RunIt()", False),
    ("host_control_struct_in_a_signature", "cadhost::RunIt(cadhost::Report const&)", False),
    ("std_template_over_api_types",
     "std::vector<AcDbThing*, std::allocator<AcDbThing*> >::_M_default_append(unsigned long)",
     False),
    ("std_template_with_return_type",
     "bool std::__detail::__from_chars_pow2_base<false, unsigned long>(char const*&)", False),
    ("platform_code", "vex::platform::Registry::Registry(std::string)", True),
    ("platform_code_in_a_template_argument",
     "std::vector<vex::platform::RegHive>::~vector()", True),
    ("tag_level", "cadhost::dxf::TagReader::next(cadhost::dxf::RawTag&)", True),
    ("reader", "cadhost::dxfread::Reader::run()", True),
    ("database_store", "cadhost::Impl::lookup(AcDbObjectId)", True),
    ("store_named_only_by_a_friend", "cadhost::Access::extras(AcDbObject&)", True),
    ("internal_typeinfo", "typeinfo for cadhost::RawEntity", True),
    ("internal_vtable", "vtable for cadhost::RawEntity", True),
    ("thunk_of_an_internal_class", "non-virtual thunk to cadhost::RawEntity::~RawEntity()", True),
    ("std_template_over_internal_types",
     "void std::vector<cadhost::DxfTag, std::allocator<cadhost::DxfTag> >::_M_realloc_insert()",
     True),
    ("api_member_taking_an_internal_type", "AcDbThing::AcDbThing(cadhost::Impl*)", True),
    ("internal_class_in_the_global_namespace", "HostHelper::run()", True),
    ("internal_function_in_the_global_namespace", "ParseAngle(char const*)", True),
    ("internal_global_variable", "gCommandTable", True),
    ("file_local_code", "(anonymous namespace)::Helper::run()", True),
    ("name_only_in_a_comment", "NotDeclared::run()", True),
]


class ExportCheckTest(unittest.TestCase):
    def setUp(self):
        self.public = check_exports.public_names(HEADER)

    def test_symbols(self):
        for name, symbol, refused in SYMBOLS:
            with self.subTest(name):
                problems = check_exports.symbol_problems(symbol, self.public)
                self.assertEqual(bool(problems), refused, problems)

    def test_desc_of_every_class_with_class_test_members_is_required(self):
        members = check_exports.classes_with_members(HEADER)
        self.assertEqual(members, {"AcDbThing"})
        self.assertEqual(check_exports.missing_exports(["AcDbThing::desc()"], members, set()), [])
        self.assertEqual(len(check_exports.missing_exports(["acdbDoIt(int)"], members, set())), 1)

    def test_typeinfo_of_polymorphic_api_classes_is_required(self):
        polymorphic = check_exports.defined_classes(HEADER) & {"AcDbThing", "cadhost::RawEntity"}
        self.assertEqual(polymorphic, {"AcDbThing"})
        self.assertEqual(
            check_exports.missing_exports(["typeinfo for AcDbThing"], set(), polymorphic), [])
        self.assertEqual(len(check_exports.missing_exports([], set(), polymorphic)), 1)

    def test_header_without_the_pragmas_is_refused(self):
        cases = [
            ("wrapped", HEADER, False),
            ("no_pragmas", HEADER.replace("#pragma GCC visibility push(default)\n", "")
             .replace("#pragma GCC visibility pop\n", ""), True),
            ("pop_before_push", "#pragma GCC visibility pop\nvoid f();\n"
             "#pragma GCC visibility push(default)\n", True),
            ("only_includes", '#pragma once\n// All of it.\n#include "cadhost/sdk/dbmain.h"\n',
             False),
        ]
        for name, text, refused in cases:
            with self.subTest(name):
                self.assertEqual(bool(check_exports.header_problems("h.h", text)), refused)

    def test_window_libraries_are_refused_as_dependencies(self):
        self.assertEqual(check_exports.needed_problems(["libc.so.6", "libstdc++.so.6"]), [])
        for qt in ["libQt6Core.so.6", "libQt6Widgets.so.6", "libQt5Gui.so.5"]:
            with self.subTest(qt):
                self.assertEqual(len(check_exports.needed_problems(["libc.so.6", qt])), 1)

    def test_wrong_paths_are_a_failure(self):
        root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
        for name, args in [("no_library", ["/nonexistent/libcadhost.so", root]),
                           ("no_sources", ["/nonexistent/libcadhost.so", "/nonexistent"])]:
            with self.subTest(name):
                self.assertEqual(check_exports.main(["check_exports.py", *args]), 1)


if __name__ == "__main__":
    unittest.main()
