#pragma once
// Bloco I (instituições financeiras e assemelhadas): textos SQL e carga de I010, I100 e
// I200/I300. O estabelecimento é número e vai como parâmetro; a tabela de deduções e
// exclusões segue o regime da empresa.
#include <string>

#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

class TnArqRepositorioSPEDPisCofinsBlocoI : public TnArqRepositorioSPEDPisCofinsBase {
 public:
  using TParans = TnParansBlocoI;

  // EFDDEDUCAOEXCLUSAO (optante da EFD), LUCROREALDEDUCAOEXCLUSAO ou LUCROPRESDEDUCAOEXCLUSAO.
  static std::string GetTabelaDeducaoExclusao(const TnParansBlocoI& AParans);
  static std::string GetSqlMovEstab(const TnParansBlocoI& AParans);
  static std::string GetSqlI010(const TnParansBlocoI& AParans);
  static std::string GetJOINSqlI100(const TnParansBlocoI& AParans);
  static std::string GetSqlI100(const TnParansBlocoI& AParans);
  static std::string GetSqlI200_I300(const TnParansBlocoI& AParans);
  // [empresa, estab, início, fim] em todos os textos.
  static TParams GetParams(const TnParansBlocoI& AParans);

  // Diz se o estabelecimento tem lançamento de entrada ou saída no período.
  static bool MovimentacaoEstab(const TnParansBlocoI& AParans);
  static void CarregarDadosI010(TDataSet*& ADataSet, const TnParansBlocoI& AParans);
  static void CarregarDadosI100(TnClientDataSet*& ADataSet, const TnParansBlocoI& AParans);
  static void CarregarDadosI200_I300(TnClientDataSet*& ADataSet, const TnParansBlocoI& AParans);
};
