#pragma once
// Filtros de inclusão: texto do usuário (estabelecimentos, processos) vira condição SQL.
//
// Notação: itens separados por ',' ou ';', cada um um número ou um intervalo a-b; brancos
// em volta dos itens são ignorados; texto vazio = nenhuma condição. Qualquer outra coisa é
// recusada com EEntradaInvalida, nomeando o item: texto do usuário nunca chega cru ao SQL.
#include <string>
#include <vector>

// Como cada coluna usa a lista: incluir (IN/BETWEEN) ou excluir (NOT ...).
enum TnpqTypeInclusionExV : int { tiExInclusao = 1, tiExExclusao = 2 };

// Tipo dos itens (último argumento de FilterInterval).
constexpr int kFiltroTexto = 1;   // itens são textos (sem intervalos), vão como literais entre aspas
constexpr int kFiltroNumero = 2;  // itens são inteiros não negativos e intervalos a-b

namespace Nutilinclusao {

// Condição sobre cada coluna (ou expressão fixa do sistema, como "SUBSTR(NUMPROCREF, 1, 20)"),
// combinadas com AND. Com AComAnd o resultado começa por " AND "; termina sempre com um
// espaço. Exemplo: ({"L.CODIGOESTAB"}, "1,3;5-8") -> " AND (L.CODIGOESTAB IN (1, 3) OR
// L.CODIGOESTAB BETWEEN 5 AND 8) ". Texto vazio -> "".
std::string FilterInterval(const std::vector<std::string>& AColunas, const std::string& ATexto,
                           const std::vector<TnpqTypeInclusionExV>& ATipos = {tiExInclusao}, bool AComAnd = true,
                           int ATipoValor = kFiltroNumero);

}  // namespace Nutilinclusao

using Nutilinclusao::FilterInterval;
