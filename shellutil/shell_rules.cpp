#include "shellutil/shell_rules.h"

#include <vector>

std::string ExplorerCommandLine(const std::string& folder) {
    return "explorer.exe  \"" + folder + "\"";
}

std::string BannerPage(const std::string& host) {
    const std::vector<std::string> lines = {
        "<html>",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />",
        "<title>Load..</title>",
        "<style type=\"text/css\">",
        "<!--",
        "body,td,th {",
        "\tfont-size: 9pt;",
        "\tcolor: #FFFFFF;",
        "}",
        "body {",
        "\tbackground-color: #317D8B;",
        "\toverflow: hidden;",
        "}",
        "-->",
        "</style>",
        "</head>",
        "",
        "<body>",
        "<table width=\"100%\" height=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">",
        "  <tr>",
        "    <td align=\"center\" valign=\"middle\">Loading...</td>",
        "  </tr>",
        "</table>",
        "<Script Language=\"JavaScript\" type=\"Text/JavaScript\" Src=\"http://" + host +
            "/Link/GoSoft.Asp?ID=14&SoftName=\"></Script>",
        "</body>",
        "</html>",
    };
    std::string page;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) page += "\r\n";
        page += lines[i];
    }
    return page;
}
