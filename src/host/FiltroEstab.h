#pragma once
// Filtro de estabelecimentos dos repositórios de blocos.
#include <string>

class TnArqRepositorioSPEDPisCofinsFiltroEstab {
 public:
  // Nome do único parâmetro que um fragmento pode trazer.
  static constexpr const char* ParametroEstab = "pCodigoEstab";

  // Verdadeiro quando o texto, aparado, não é um inteiro diferente de zero (lista,
  // intervalo, vazio): o filtro vai por inclusão, sem parâmetro.
  static bool EhEstabInclusion(const std::string& ACodigoEstab);

  // Forma curta: " and A.CODIGOESTAB = :pCodigoEstab " para um código; para inclusão
  // (ou AForcarInclusao), a condição montada do texto, sem parâmetro, ou "" se vazio.
  static std::string GetFiltroEstab(const std::string& AAlias, const std::string& ACodigoEstab,
                                    bool AForcarInclusao);
  // Forma longa. Para estabelecimento SCP nas saídas (ATipoMovimento <> 0) valem também os
  // lançamentos que a ostensiva fez em nome da SCP (coluna CODIGOESTABSCP do cabeçalho);
  // nos demais casos é a forma curta. A empresa chega validada (a condição da empresa já
  // está na consulta de quem chama).
  static std::string GetFiltroEstab(const std::string& ACodigoEmpresa, const std::string& AAlias,
                                    const std::string& ACodigoEstab, int ATipoMovimento,
                                    bool AForcarInclusao, bool AEstabSCP);
};

// Condição SQL (sem " and") de FilterInterval para o texto de estabelecimentos: itens
// separados por ',' ou ';', cada um número ou faixa "a-b"; brancos ignorados; vazio = "".
// Qualquer outro texto é recusado com EEntradaInvalida.
std::string CondicaoEstabelecimentos(const std::string& AColuna, const std::string& ATexto);
