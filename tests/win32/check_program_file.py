"""Checks FnorkTillFnork.exe as Windows and Explorer see it, from Linux: a 64-bit Windows program
that needs no DLL of its own, with the program's version record, its icon and the manifest that
makes it draw at each screen's own resolution.

    python3 check_program_file.py FnorkTillFnork.exe app/fnork.ico
"""
import os
import struct
import sys
import unittest

import pefile

EXE, ICO = sys.argv[1], sys.argv[2]

# DLLs that come with every 64-bit Windows (the C runtime msvcrt.dll among them).
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll",
    "advapi32.dll", "shell32.dll", "comctl32.dll", "windowscodecs.dll", "shcore.dll",
    "winmm.dll", "ntdll.dll",
}

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


class ProgramFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(EXE)

    def resource(self, kind):
        """The data of each resource of a kind, by its id."""
        found = {}
        for t in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if t.id != kind:
                continue
            for entry in t.directory.entries:
                for lang in entry.directory.entries:
                    rva, size = lang.data.struct.OffsetToData, lang.data.struct.Size
                    found[entry.id] = self.pe.get_data(rva, size)
        return found

    def test_a_64_bit_windows_program_importing_only_system_dlls(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"])
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem,
                         pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
        imported = {e.dll.decode().lower() for e in self.pe.DIRECTORY_ENTRY_IMPORT}
        self.assertTrue(imported, "no imports at all")
        self.assertLessEqual(imported, SYSTEM_DLLS, "imports a DLL that Windows does not bring")
        self.assertLess(os.path.getsize(EXE), 1024 * 1024, "no longer a small file")

    def test_version_record(self):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), (0x00010000, 0))
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS), (0x00010000, 0))
        tables, translations = {}, []
        for info in self.pe.FileInfo:
            for entry in info:
                for table in getattr(entry, "StringTable", []):
                    tables[table.LangID.decode().upper()] = {
                        k.decode(): v.decode() for k, v in table.entries.items()}
                for var in getattr(entry, "Var", []):
                    translations.append(var.entry.get(b"Translation"))
        self.assertEqual(tables, {"040904B0": {
            "CompanyName": "-",
            "ProductName": "prjFnorkTillFnork",
            "FileVersion": "1.00",
            "ProductVersion": "1.00",
            "InternalName": "FnorkTillFnork",
            "OriginalFilename": "FnorkTillFnork.exe",
        }})
        self.assertEqual(translations, ["0x0409 0x04b0"])  # US English, Unicode

    def test_program_icon_is_one_32_by_32_image_in_256_colours(self):
        groups = self.resource(RT_GROUP_ICON)
        self.assertEqual(len(groups), 1)
        group = next(iter(groups.values()))
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((kind, count), (1, 1))
        width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from(
            "<BBBBHHIH", group, 6)
        self.assertEqual((width, height, colours, bits), (32, 32, 0, 8))
        image = self.resource(RT_ICON)[icon_id]
        self.assertEqual(len(image), size)
        header = struct.unpack_from("<IiiHH", image, 0)
        self.assertEqual(header, (40, 32, 64, 1, 8))  # colours and mask, 8 bits a pixel
        # The very image of the icon file the program's resources name.
        with open(ICO, "rb") as f:
            ico = f.read()
        ico_size, ico_offset = struct.unpack_from("<II", ico, 6 + 8)
        self.assertEqual(image, ico[ico_offset:ico_offset + ico_size])

    def test_manifest_asks_for_per_monitor_resolution(self):
        manifest = self.resource(RT_MANIFEST)[1].decode("utf-8")
        self.assertIn("PerMonitorV2", manifest)
        self.assertIn("true/pm", manifest)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
