#include "app/help_text.h"

#include "common/output.h"

void PrintHelpText()
{
    Print("Verifica se algum Dalmivorax (Java ou Windows) esta executando.\n");
    Print("Sintaxe:\n");
    Print("Quenz <caminho|-h|-v|-n<j|w>>\n");
    // The two accented letters leave as the Windows-1252 bytes of c-cedilla and a-tilde,
    // whatever the console's code page: the source stays UTF-8, so they are spelled as escapes.
    Print("          caminho=> Caminho da instala\xE7\xE3o do Dalmivorax Java;\n");
    Print("          -h     => Exibe esta ajuda;\n");
    Print("          -v     => Exibe detalhadamente o que esta sendo executado;\n");
    Print("          -n<j|w>=> Nao verifica a execucao do Dalmivorax Java (j) ou do "
          "Dalmivorax Windows (w);\n");
    Print("Retorno: 1 se o Dalmivorax esta executando e 0 se nao extiver executando.\n");
}
