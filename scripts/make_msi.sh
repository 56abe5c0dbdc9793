#!/usr/bin/env bash
# make_msi.sh WXS OUTPUT.msi FOLDER: the Windows installer from WXS with wixl (Debian's msitools),
# taking the files the source names from FOLDER (scripts/build_windows.sh passes the zip's
# folder; the icon of the installed programs' list lies beside it), then the two things wixl
# cannot say, written into the installer's tables with msibuild:
# - the Start-menu shortcut in the user's language (component conditions);
# - logs a run wrote into the program's folder (a user allowed to write there) go with an
#   uninstall, so the folder goes too (wixl has no RemoveFile element);
# - a rebuilt installer of the installed version replaces it rather than installing beside it
#   (WiX's AllowSameVersionUpgrades, which wixl lacks: the upgrade row's maximum version made
#   inclusive).
set -euo pipefail
wxs=$(realpath "$1")
msi=$(realpath -m "$2")
folder=$3
rm -f "$msi"
(cd "$folder" && wixl -a x64 -o "$msi" "$wxs")

q() { msibuild "$msi" -q "$1"; }
for log in Logfile.txt Varnix.log frm_forms.log; do
    q "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`FileName\`, \`DirProperty\`, \`InstallMode\`) VALUES ('Log_${log%.*}', 'Programs', '$log', 'INSTALLDIR', 2)"
done
# The Start-menu shortcut of each language installs in the language the installer chose for its
# texts (VARNIXLANG), the English one in any other (wixl has no component conditions); the
# texts are set at once (type 51 alone, as WiX writes it).
q "UPDATE \`Component\` SET \`Condition\` = 'VARNIXLANG = \"fr\"' WHERE \`Component\` = 'ShortcutFr'"
q "UPDATE \`Component\` SET \`Condition\` = 'VARNIXLANG = \"de\"' WHERE \`Component\` = 'ShortcutDe'"
q "UPDATE \`Component\` SET \`Condition\` = 'NOT VARNIXLANG' WHERE \`Component\` = 'ShortcutEn'"
q "UPDATE \`CustomAction\` SET \`Type\` = 51 WHERE \`Type\` = 2099"
read -r code max < <(msiinfo export "$msi" Upgrade |
                     tr -d '\r' | awk -F'\t' '$7 == "WIX_UPGRADE_DETECTED" { print $1, $3 }')
version_max_inclusive=512
migrate_features=1
# The attributes are part of the row's key: the row is replaced, not updated.
q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'"
q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$code', '$max', $((migrate_features | version_max_inclusive)), 'WIX_UPGRADE_DETECTED')"
