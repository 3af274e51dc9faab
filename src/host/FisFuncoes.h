#pragma once
// Conversões das chaves das tabelas de códigos do SPED e filtros fiscais pequenos.
#include <string>

#include "base/DateTime.h"

class TnFisFuncoes {
 public:
  // "4.3.06.101" -> "101"; "4.3.05.51" -> "51". Texto fora do formato volta aparado.
  static std::string GetCodigoTipoDebitoTipoCredito(const std::string& ACodigoTabSPED);
  // Tabela da chave: "4.3.05.51" -> "4.3.05"; "" quando não é chave de tabela.
  static std::string GetTabelaSPEDTipoDebitoTipoCredito(const std::string& ACodigoTabSPED);
  // Código de contribuição (tabela 4.3.05) de um tipo de débito: itens da 4.3.05 são o
  // próprio código; itens da 4.3.12 (produtos por unidade de medida) dão "03"; a coluna
  // CODIGOCONVERSAO da tabela TABELASPED do host, quando preenchida, prevalece.
  static std::string GetCodigoTipoDebitoConversao(const std::string& ACodigoTabSPED);
  // "4.3.05" + "51" -> "4.3.05.51".
  static std::string MontarCodigoTabSPED(const std::string& ATabela, const std::string& AItem);
};

// Apuração mensal: a anterior começa no primeiro dia do mês anterior.
TDateTime PegarDataApuracaoAnterior(TDateTime AData);

// Processos que a EFD-Contribuições aceita (Justiça Federal, Receita Federal, outros):
// " AND CAST(P.INDPROCREF AS VARCHAR(2)) IN ('1', '3', '9') ".
std::string GetFiltroIndProcRef(const std::string& AColuna);

// Valida um nome de coluna (apelido.coluna) antes de pô-lo num texto SQL.
void ValidarNomeColuna(const std::string& AColuna);
