#!/usr/bin/python3
"""The layer check catches includes against the arrows, and only those."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_layers  # noqa: E402

# name, including file, include line, True when the check must fail.
CASES = [
    ("tag_level_reaching_up_to_db", "cadhost/dxf/tags/codepage.cpp",
     '#include "cadhost/db/database_impl.h"', True),
    ("tag_level_reaching_up_to_the_reader", "cadhost/dxf/tags/dxf_tags.cpp",
     '#include "cadhost/dxf/dxf_reader.h"', True),
    ("tag_level_reaching_up_to_host", "cadhost/dxf/tags/codepage.cpp",
     '#include "cadhost/host/host_state.h"', True),
    ("tag_level_on_itself", "cadhost/dxf/tags/codepage.cpp",
     '#include "cadhost/dxf/tags/unicode_escape.h"', False),
    ("db_including_the_reader", "cadhost/db/database.cpp",
     '#include "cadhost/dxf/dxf_reader.h"', True),
    ("db_including_the_writer", "cadhost/db/database.cpp",
     '#include "cadhost/dxf/dxf_writer.h"', True),
    ("db_including_host", "cadhost/db/object.cpp",
     '#include "cadhost/host/host_control.h"', True),
    ("db_on_the_tag_level", "cadhost/db/text_metrics.cpp",
     '#include "cadhost/dxf/tags/unicode_escape.h"', False),
    ("db_on_sdk_and_platform", "cadhost/db/linetype_file.cpp",
     '#include "platform/atomic_file.h"', False),
    ("db_reaching_the_reader_by_a_relative_path", "cadhost/db/database.cpp",
     '#include "../dxf/dxf_reader.h"', True),
    ("db_reaching_the_reader_in_angle_brackets", "cadhost/db/database.cpp",
     "#include <cadhost/dxf/dxf_reader.h>", True),
    ("glue_on_db_and_tags", "cadhost/dxf/database_io.cpp",
     '#include "cadhost/db/database_impl.h"', False),
    ("glue_reaching_up_to_host", "cadhost/dxf/dxf_reader.cpp",
     '#include "cadhost/host/prompts.h"', True),
    ("sdk_including_db", "cadhost/sdk/dbmain.h",
     '#include "cadhost/db/object_access.h"', True),
    ("sdk_including_host_control", "cadhost/sdk/aced.h",
     '#include "cadhost/host/host_control.h"', True),
    ("sdk_including_platform", "cadhost/sdk/dbmain.h",
     '#include "platform/text_util.h"', True),
    ("sdk_on_sdk", "cadhost/sdk/aced.h", '#include "cadhost/sdk/dbmain.h"', False),
    ("host_including_the_core", "cadhost/host/documents.cpp",
     '#include "model/table_data.h"', True),
    ("host_including_the_plugin_in_angle_brackets", "cadhost/host/documents.cpp",
     "#include <plugin/commands.h>", True),
    ("app_on_host_control", "cadhost/app/main.cpp",
     '#include "cadhost/host/host_control.h"', False),
    ("app_on_host_internals", "cadhost/app/main.cpp",
     '#include "cadhost/host/host_state.h"', True),
    ("system_headers_are_not_judged", "cadhost/dxf/tags/codepage.cpp",
     "#include <iconv.h>", False),
    ("system_headers_in_folders_are_not_judged", "cadhost/db/database.cpp",
     "#include <sys/stat.h>", False),
    ("commented_out_include_is_not_judged", "cadhost/db/database.cpp",
     '// #include "cadhost/dxf/dxf_reader.h"', False),
    ("folder_missing_from_the_table", "cadhost/extra/thing.cpp",
     '#include "cadhost/sdk/dbmain.h"', True),
    ("ui_on_host_control", "cadhost/ui/main_window.h",
     '#include "cadhost/host/host_control.h"', False),
    ("ui_on_host_internals", "cadhost/ui/main_window.cpp",
     '#include "cadhost/host/host_state.h"', True),
    ("ui_on_db", "cadhost/ui/scene_builder.cpp",
     '#include "cadhost/db/database_impl.h"', True),
    ("ui_on_qt", "cadhost/ui/drawing_view.cpp", "#include <QPainter>", False),
    ("app_on_ui", "cadhost/app/main.cpp", '#include "cadhost/ui/main_window.h"', False),
    ("host_including_ui", "cadhost/host/documents.cpp",
     '#include "cadhost/ui/main_window.h"', True),
    ("sdk_including_qt", "cadhost/sdk/acedads.h", "#include <QWidget>", True),
    ("db_including_qt", "cadhost/db/database.cpp", "#include <QtCore/QString>", True),
    ("dxf_including_qt", "cadhost/dxf/dxf_reader.cpp", "#include <QString>", True),
    ("host_including_qt", "cadhost/host/feedback.cpp", "#include <QApplication>", True),
    ("qualified_looking_system_header_is_not_qt", "cadhost/host/feedback.cpp",
     "#include <queue>", False),
]

# Every file a case names exists, so relative includes resolve as they would in the tree.
TREE = ["cadhost/sdk/dbmain.h", "cadhost/sdk/aced.h", "cadhost/dxf/tags/codepage.cpp",
        "cadhost/dxf/tags/unicode_escape.h", "cadhost/dxf/dxf_reader.h",
        "cadhost/dxf/dxf_writer.h", "cadhost/db/database_impl.h", "cadhost/host/host_state.h",
        "cadhost/host/host_control.h", "platform/atomic_file.h", "model/table_data.h",
        "plugin/commands.h", "cadhost/ui/main_window.h"]


class LayerCheckTest(unittest.TestCase):
    def test_cases(self):
        for name, path, line, fails in CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                for f in TREE + [path]:
                    os.makedirs(os.path.join(root, os.path.dirname(f)), exist_ok=True)
                    open(os.path.join(root, f), "w").close()
                with open(os.path.join(root, path), "w") as f:
                    f.write("#pragma once\n#include <string>\n" + line + "\n")
                _count, problems = check_layers.check_tree(root)
                self.assertEqual(bool(problems), fails, problems)
                if fails:
                    self.assertTrue(problems[0].startswith(path + ":"), problems)

    def test_no_sources_is_a_failure(self):
        with tempfile.TemporaryDirectory() as root:
            self.assertEqual(check_layers.main(["check_layers.py", root]), 1)


if __name__ == "__main__":
    unittest.main()
