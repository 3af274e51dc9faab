#include "cli/CadastroEmpresa.h"

#include "base/Erros.h"
#include "host/DataSet.h"

std::string NaturezaDaEmpresa(TDatabase& ABanco, int AEmpresa) {
  try {
    auto ds = ABanco.Abrir("SELECT INDNATPJ FROM CFGEMPRESAFIS WHERE CODIGOEMPRESA = :CODIGOEMPRESA",
                           {TVariant{static_cast<int64_t>(AEmpresa)}});
    if (ds->Eof() || ds->Fields(0).IsNull()) return {};
    return std::to_string(ds->Fields(0).AsInteger());
  } catch (const EBancoDados&) {
    throw EEntradaInvalida("O banco não tem a natureza da pessoa jurídica (CFGEMPRESAFIS.INDNATPJ): aplique o DDL de "
                           "\"pisco schema\" ou informe --natureza.");
  }
}

bool RegimeCaixaDaEmpresa(TDatabase& ABanco, int AEmpresa, TDateTime AData) {
  // A linha em vigor é a de maior DATAOPCAO até a data; só ela decide.
  auto ds = ABanco.Abrir(
      "SELECT APURALUCROPRESUMIDO, TIPOAPURACAO FROM OPCAOLUCROPRESUMIDO WHERE CODIGOEMPRESA = :CODIGOEMPRESA "
      "AND DATAOPCAO = (SELECT MAX(DATAOPCAO) FROM OPCAOLUCROPRESUMIDO WHERE CODIGOEMPRESA = :CODIGOEMPRESA "
      "AND DATAOPCAO <= :DATA)",
      {TVariant{static_cast<int64_t>(AEmpresa)}, VarDate(AData)});
  return !ds->Eof() && ds->Fields(0).AsInteger() == 1 && ds->Fields(1).AsInteger() == 3;
}

void CompletarComCadastro(TDatabase& ABanco, TConfigBlocoM& AConfig, const std::string& ANatureza,
                          const std::string& ARegime) {
  // O M211 padrão das cooperativas depende da natureza: "1" é cooperativa.
  AConfig.IndNatPessoaJurid =
      ANatureza.empty() ? NaturezaDaEmpresa(ABanco, AConfig.CodigoEmpresa) : std::to_string(std::stoi(ANatureza));
  // No caixa as saídas entram pela data do recebimento da duplicata, não pela da nota.
  AConfig.RegimeCaixa = ARegime.empty() ? RegimeCaixaDaEmpresa(ABanco, AConfig.CodigoEmpresa, AConfig.DataInicial)
                                        : ARegime == "caixa";
}
